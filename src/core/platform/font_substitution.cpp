#include "core/platform/font_substitution.h"

#include <QStringList>
#include <array>

namespace {

struct Substitution {
    const char* design;  // UTF-8
    const char* family;  // installed family (Debian package in the comment)
    const char* second;  // fallback family
    bool heavy;          // the design face is ultra bold
};

// Gothic faces: IPA fonts (fonts-ipafont); heavy gothic: Noto Sans CJK JP Bold (fonts-noto-cjk);
// rounded gothic: Motoya L Maruberi (fonts-motoya-l-maruberi); brush style: Kouzan Brush
// (fonts-kouzan-mouhitsu); pop style: Reggae One (fonts-reggae); sans serif: Liberation Sans.
constexpr std::array<Substitution, 7> kSubstitutions{{
    {"ＭＳ ゴシック", "IPAGothic", "Noto Sans Mono CJK JP", false},
    {"ＭＳ Ｐゴシック", "IPAPGothic", "Noto Sans CJK JP", false},
    {"HGP創英角ｺﾞｼｯｸUB", "Noto Sans CJK JP", "IPAPGothic", true},
    {"HG丸ｺﾞｼｯｸM-PRO", "MotoyaLMaru", "IPAPGothic", false},
    {"AR P隷書体M", "KouzanBrushFont", "AoyagiKouzanFontT", false},
    {"HGS創英角ﾎﾟｯﾌﾟ体", "Reggae One", "Noto Sans CJK JP", true},
    {"Microsoft Sans Serif", "Liberation Sans", "DejaVu Sans", false},
}};

const Substitution* Find(const QString& name) {
    for (const Substitution& s : kSubstitutions) {
        if (name == QString::fromUtf8(s.design)) return &s;
    }
    return nullptr;
}

}  // namespace

void InstallFontSubstitutions() {
    static bool done = false;
    if (done) return;
    done = true;
    for (const Substitution& s : kSubstitutions) {
        QFont::insertSubstitutions(QString::fromUtf8(s.design),
                                   {QString::fromUtf8(s.family), QString::fromUtf8(s.second),
                                    QStringLiteral("IPAPGothic")});
    }
}

QFont ResolveFont(const QString& designName, int pixelSize, bool bold, int stretch) {
    InstallFontSubstitutions();
    const Substitution* s = Find(designName);
    QFont f;
    if (s != nullptr) {
        f.setFamilies({QString::fromUtf8(s->family), QString::fromUtf8(s->second),
                       QStringLiteral("IPAPGothic")});
    } else {
        // An unknown name (typed on the maintenance panel) goes through Qt's own matching, with
        // the Japanese gothic behind it so kana and kanji never turn into boxes.
        f.setFamilies({designName, QStringLiteral("IPAPGothic")});
    }
    f.setPixelSize(pixelSize > 0 ? pixelSize : 1);
    f.setWeight(bold || (s != nullptr && s->heavy) ? QFont::Bold : QFont::Normal);
    f.setKerning(false);
    if (stretch != 100) f.setStretch(stretch);
    return f;
}
