#include "status/Banners.h"

namespace kestrova {

// TODO(stub): replaced by the real procedure
void Draw_Op_Mode(Station& /*st*/) {  }

// TODO(stub): replaced by the real procedure
void Draw_IF_BW(Station& /*st*/) {  }

// TODO(stub): replaced by the real procedure
void Draw_Local_Remote(Station& /*st*/) {  }

// TODO(stub): replaced by the real procedure
void Draw_Video_Gain(Station& /*st*/) {  }

// TODO(stub): replaced by the real procedure
void Draw_Ant_Model(Station& /*st*/) {  }

// TODO(stub): replaced by the real procedure
void Draw_Ant_Band(Station& /*st*/) {  }

// TODO(stub): replaced by the real procedure
void Draw_RelBear(Station& /*st*/) {  }

// TODO(stub): replaced by the real procedure
void Draw_AntOrientation(Station& /*st*/) {  }

// TODO(stub): replaced by the real procedure
void Draw_DF_Enabled(Station& /*st*/) {  }

}  // namespace kestrova
