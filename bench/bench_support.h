#pragma once
// What the benchmark programs share: the offscreen application, the four surfaces of the two
// windows bound to a renderer without windows, and a data folder with every file at its full
// size (Conf.txt with 40 categories and 50 judges, 1000 couples, 100 events, 100 programme items
// and a 50-row heat load: floor A 40 rows, floor B 10). The benchmarks of the drawing link no
// window toolkit; those of the running windows (app_bench_support.h) build with
// TRQ_BENCH_WIDGETS and get a widget application.

#ifdef TRQ_BENCH_WIDGETS
#include <QApplication>
using BenchApplication = QApplication;
#else
#include <QGuiApplication>
using BenchApplication = QGuiApplication;
#endif

#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "core/competition/competition_state.h"
#include "core/data/display_config_file.h"
#include "core/data/entry_files.h"
#include "core/data/programme_file.h"
#include "core/display/renderer.h"
#include "core/platform/canvas.h"
#include "core/platform/cp932.h"

namespace bench {

// The application; never destroyed: at exit the toolkit's own statics may already be gone.
inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static BenchApplication* app = new BenchApplication(argc, argv);
    (void)app;
}

struct Surfaces {
    Canvas audienceNormal{1024, 600, QStringLiteral("ScrForm.Image9")};
    Canvas previewNormal{512, 300, QStringLiteral("DspMain.Image1")};
    Canvas audienceWide{1024, 768, QStringLiteral("ScrForm.ImageW")};
    Canvas previewWide{512, 384, QStringLiteral("DspMain.ImageW")};
    void Bind(Renderer& renderer) {
        renderer.Bind({&audienceNormal, &previewNormal, &audienceWide, &previewWide}, nullptr);
    }
};

inline void Write(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

inline std::string Pad(std::string s, size_t width) {
    s.resize(width, ' ');
    return s;
}

// Made once per program; removed when the program ends.
class FullFolder {
  public:
    FullFolder() : path_(dir_.path().toStdString()) {
        std::string conf = Sjis("!//TT\r\n第１回　髙﨑杯　競技会\r\n主催　①連盟\r\n会場\r\n");
        conf += Sjis("!//WC\r\nようこそ\r\n\r\n\r\n!//CN\r\n");
        for (int c = 1; c <= 40; ++c) {
            conf += Pad("C" + std::to_string(c), 6) + Pad(Sjis("スタンダード　Ａ級　髙﨑"), 40) +
                    Pad(Sjis("Ｓ－Ａ"), 20) + "1234567 12R\r\n";
        }
        conf += "!//JG\r\n";
        for (int j = 1; j <= 50; ++j) {
            conf += Pad(std::to_string(j), 2) + Pad(Sjis("髙橋　一郎"), 16) + "#" +
                    Pad(Sjis("東京都連盟"), 15) + "\r\n";
        }
        conf += "!//LP\r\n1436\r\n!//SF\r\n1\r\n2\r\n";
        Write(path_ + "/Conf.txt", conf);

        std::string mem;
        for (int n = 0; n < 1000; ++n) {
            mem += std::to_string(n) + Sjis(",山田　太郎,髙﨑　花子,x,y,東京ダンススクール①\r\n");
        }
        Write(path_ + "/Mem.csv", mem);

        std::string seq;
        std::string pgm;
        for (int e = 1; e <= 100; ++e) {
            char line[128];
            std::snprintf(line, sizeof(line), "%03d ", e);
            seq += line + Sjis("スタンダード Ａ級") + ",4,2,3,24,0,12,5,6,2,12,0,0\r\n";
            std::snprintf(line, sizeof(line), "%c %03d   ", e % 10 == 0 ? '1' : '0', e);
            pgm += line + Sjis("スタンダード Ａ級 １次予選") + "\r\n";
        }
        Write(path_ + "/seqdat.csv", seq);
        Write(path_ + "/pgm.txt", pgm);

        std::string heats;
        for (int r = 0; r < 40; ++r) {
            for (int k = 0; k < 20; ++k) {
                char field[8];
                std::snprintf(field, sizeof(field), "%4d", (r * 20 + k) % 1000);
                heats += field;
            }
            heats += "\r\n";
        }
        Write(path_ + "/H_04_2.dat", heats);
        Write(path_ + "/H_05_6.dat", heats.substr(0, 10 * 82));
    }
    const std::string& Path() const { return path_; }

  private:
    QTemporaryDir dir_;
    std::string path_;
};

inline const FullFolder& FullData() {
    static const FullFolder folder;
    return folder;
}

inline std::string DemoFolder() { return std::string(TRQ_SOURCE_DIR) + "/data/demo"; }

// The demo competition loaded as the console loads it, with a renderer on bare surfaces.
struct DemoDay {
    Competition s;
    Surfaces surfaces;
    Renderer renderer{s};
    DemoDay() {
        EnsureApplication();
        s.DataFolder = DemoFolder();
        s.Config.DataFont = Sjis("HGP創英角ｺﾞｼｯｸUB");
        s.Config.MsgFont = Sjis("HG丸ｺﾞｼｯｸM-PRO");
        s.Config.TopFont = Sjis("AR P隷書体M");
        s.Config.TitleFont = Sjis("HG丸ｺﾞｼｯｸM-PRO");
        LoadDisplayConfig(s.DataFolder, s);
        LoadEntries(s.DataFolder, s);
        LoadEvents(s.DataFolder, s);
        ReadProgramme(s.DataFolder, s);
        s.DanceNameShown = 1;
        surfaces.Bind(renderer);
    }
};

}  // namespace bench
