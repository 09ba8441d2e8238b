#include "tags/genre_table.h"

#include <cstring>

#include "base/position.h"

namespace {
// The names in index order, each ended by its NUL; the literal adds the final one.
constexpr char kGenreNames[] =
    "Blues\0Classic Rock\0Country\0Dance\0Disco\0Funk\0Grunge\0Hip-Hop\0Jazz\0Metal\0"
    "New Age\0Oldies\0Other\0Pop\0R&B\0Rap\0Reggae\0Rock\0Techno\0Industrial\0"
    "Alternative\0Ska\0Death Metal\0Pranks\0Soundtrack\0Euro-Techno\0Ambient\0Trip-Hop\0Vocal\0"
    "Jazz+Funk\0"
    "Fusion\0Trance\0Classical\0Instrumental\0Acid\0House\0Game\0Sound Clip\0Gospel\0Noise\0"
    "Alternative Rock\0Bass\0Soul\0Punk\0Space\0Meditative\0Instrumental Pop\0"
    "Instrumental Rock\0Ethnic\0Gothic\0"
    "Darkwave\0Techno-Industrial\0Electronic\0Pop-Folk\0Eurodance\0Dream\0Southern Rock\0"
    "Comedy\0Cult\0Gangsta\0"
    "Top 40\0Christian Rap\0Pop/Funk\0Jungle\0Native American\0Cabaret\0New Wave\0"
    "Psychedelic\0Rave\0Showtunes\0"
    "Trailer\0Lo-Fi\0Tribal\0Acid Punk\0Acid Jazz\0Polka\0Retro\0Musical\0Rock & Roll\0"
    "Hard Rock\0"
    "Folk\0Folk/Rock\0National Folk\0Swing\0Fusion\0Bebob\0Latin\0Revival\0Celtic\0Bluegrass\0"
    "Avantgarde\0Gothic Rock\0Progressive Rock\0Psychedelic Rock\0Symphonic Rock\0Slow Rock\0"
    "Big Band\0Chorus\0Easy Listening\0Acoustic\0"
    "Humour\0Speech\0Chanson\0Opera\0Chamber Music\0Sonata\0Symphony\0Booty Bass\0Primus\0"
    "Porn Groove\0"
    "Satire\0Slow Jam\0Club\0Tango\0Samba\0Folklore\0Ballad\0Power Ballad\0Rhythmic Soul\0"
    "Freestyle\0"
    "Duet\0Punk Rock\0Drum Solo\0A Cappella\0Euro-House\0Dance Hall\0Goa\0Drum & Bass\0"
    "Club-House\0Hardcore\0"
    "Terror\0Indie\0BritPop\0Negerpunk\0Polsk Punk\0Beat\0Christian Gangsta Rap\0Heavy Metal\0"
    "Black Metal\0Crossover\0"
    "Contemporary Christian\0Christian Rock\0Merengue\0Salsa\0Thrash Metal\0Anime\0Jpop\0"
    "Synthpop";
}  // namespace

void FillGenreTable(GenreTable& genres) {
  STEP(DA3Rudi);
  const char* name = kGenreNames;
  for (auto& genre : genres) {
    genre = name;
    name += std::strlen(name) + 1;
  }
}
