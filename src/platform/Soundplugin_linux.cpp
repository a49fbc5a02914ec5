// The sound plugin's entry: the program loads this library on its first sound (see
// Soundplayerloader_linux.h) and makes its player here.
#include "Soundplayer_linux.h"

extern "C" Q_DECL_EXPORT SoundPlayer *zarvo_create_sound_player()
{
    return new QtSoundPlayer();
}
