#include "tags/audio_files.h"

#include <string>

#include "base/path_parts.h"
#include "base/text_util.h"

bool IsAudioFile(std::string_view path) {
  static constexpr std::string_view kExtensions[] = {
      "mp3", "mp2", "mpc", "flac", "ogg",  "oga",  "opus", "spx", "m4a", "m4b", "mp4", "aac",
      "wma", "asf", "wav", "aif",  "aiff", "aifc", "ape",  "wv",  "tta", "dsf", "dff", "mka"};
  const std::string extension = ExtensionPart(path);
  for (std::string_view known : kExtensions)
    if (EqualsIgnoringAsciiCase(extension, known)) return true;
  return false;
}
