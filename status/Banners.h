#pragma once
// One redraw procedure per banner: each copies its state variable into its display element.
#include "core/Station.h"

namespace kestrova {

void Draw_Op_Mode(Station& st);
void Draw_IF_BW(Station& st);
void Draw_Local_Remote(Station& st);
void Draw_Video_Gain(Station& st);
void Draw_Ant_Model(Station& st);
void Draw_Ant_Band(Station& st);
void Draw_AntOrientation(Station& st);
void Draw_DF_Enabled(Station& st);

}  // namespace kestrova
