// pictures.h: the nine bitmaps, the cursor and the icon, each drawn from its
// description by one function.
#ifndef RESGEN_PICTURES_H
#define RESGEN_PICTURES_H

#include "picture.h"

namespace resgen {

Picture BlueVirus();      // 32 x 32, standard palette
Picture RedVirus();       // 32 x 32, standard palette
Picture ShieldVirus();    // 32 x 32, standard palette
Picture Cross();          // 32 x 32, standard palette
Picture Hole();           // 48 x 48, mono
Picture Magnifier();      // 48 x 48, standard palette
Picture ShutterTop();     // 390 x 40, mono
Picture ShutterBottom();  // 390 x 40, mono
Picture Logo();           // 150 x 48, mono
Picture Mallet();         // 32 x 32, CursorPixel values
Picture AppIcon();        // 32 x 32, standard palette or ICON_TRANSPARENT

constexpr int MALLET_HOTSPOT_X = 3;
constexpr int MALLET_HOTSPOT_Y = 22;

}  // namespace resgen

#endif
