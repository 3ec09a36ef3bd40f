#include "core/platform/font_warm_up.h"

#include <dlfcn.h>

FontConfigWarmUp::FontConfigWarmUp() {
    // The toolkit's text drawing brings the library with it; its initialisation is safe to run
    // on any thread and sets up the one configuration every later caller shares.
    using Init = int (*)();
    const auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit"));
    if (init == nullptr) return;
    thread_ = std::thread([init] { init(); });
}

FontConfigWarmUp::~FontConfigWarmUp() { Join(); }

void FontConfigWarmUp::Join() {
    if (thread_.joinable()) thread_.join();
}
