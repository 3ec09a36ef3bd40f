// CP932 bytes of any kind decoded, encoded again and drawn as the views draw texts.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/display/message_screen.h"
#include "core/display/progress_message_view.h"
#include "core/display/render_target.h"
#include "core/platform/canvas.h"
#include "core/platform/cp932.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const QString text = FromCp932(bytes);
    // Every character that decoding gave has a CP932 form that decodes to it again; only the
    // replacement character of an invalid byte has none and becomes "?".
    QString expected = text;
    expected.replace(QChar(0xFFFD), QLatin1Char('?'));
    FUZZ_CHECK(FromCp932(ToCp932(text)) == expected);

    // The message buffer: a prefix of whole characters within 127 bytes.
    const std::string cut = CutMessageText(bytes);
    FUZZ_CHECK(cut.size() <= kMessageBytes && bytes.compare(0, cut.size(), cut) == 0);
    size_t i = 0;
    while (i < cut.size()) i += IsCp932LeadByte(static_cast<unsigned char>(cut[i])) ? 2 : 1;
    FUZZ_CHECK(i == cut.size());

    static Canvas canvas(512, 300, "DspMain.Image1");
    RenderTarget t{&canvas, 0.5};
    canvas.SetFontName(FromCp932(cut));
    canvas.SetFontSize(40);
    FitMessageFont(t, text);
    canvas.TextOut(0, 0, text);
    FitFontToWidth(t, text, 900);
    return 0;
}
