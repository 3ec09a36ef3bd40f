#pragma once
// The system's font configuration, read on a thread of its own while the toolkit starts.

#include <thread>

// Reading the font configuration (its files and caches) takes a few milliseconds at the first
// text the program measures, which comes right after the toolkit's start. Started before the
// toolkit, the reading runs beside the toolkit's own start; Join waits for what is left of it
// (nothing, most often) before the first text. Without the fontconfig library in the process
// there is nothing to read ahead and nothing is started.
class FontConfigWarmUp {
  public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    void Join();

  private:
    std::thread thread_;
};
