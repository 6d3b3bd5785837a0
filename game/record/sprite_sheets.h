#pragma once
// The main window's image lists, named by cell size (IL16 ... IL200) or role.
#include "platform/graphics/image_list.h"

namespace dovrex {

struct SpriteSheets {
  // Stored with the window (compiled into the program).
  platform::ImageList Font0{16, 16};
  platform::ImageList Font1{16, 16};
  platform::ImageList ITs{86, 32};
  platform::ImageList Spa8{10, 10};
  platform::ImageList IL16{16, 16};
  platform::ImageList IL36{36, 36};
  // Loaded from bmp/ at start-up.
  platform::ImageList IT{375, 155};
  platform::ImageList BK{480, 240};
  platform::ImageList IL24{24, 24};
  platform::ImageList IL32{32, 32};
  platform::ImageList IL40{40, 40};
  platform::ImageList IL44{44, 44};
  platform::ImageList IL50{50, 50};
  platform::ImageList IL64{64, 64};
  platform::ImageList IL70{70, 70};
  platform::ImageList IL86{86, 86};
  platform::ImageList IL96{96, 96};
  platform::ImageList IL100{100, 100};
  platform::ImageList IL150{150, 70};
  platform::ImageList IL160{160, 160};
  platform::ImageList IL200{200, 200};
};

}  // namespace dovrex
