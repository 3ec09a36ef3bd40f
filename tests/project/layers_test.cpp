// Layer rules of src/: no include circles between folders, the allowed include directions, core/
// free of the app, Qt Widgets and the network, and the network only in the web server.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>
#include <algorithm>

namespace {

const QStringList kCore = {"core/platform", "core/data", "core/competition", "core/display"};
const QStringList kLayers = kCore + QStringList{"app/widgets",   "app/audience", "app/console",
                                                "app/rehearsal", "app/web",      "."};

// Which other layers each layer may include; its own layer is always allowed.
QMap<QString, QStringList> AllowedTargets() {
    QMap<QString, QStringList> allowed;
    allowed["core/data"] = {"core/platform"};
    allowed["core/competition"] = {"core/data", "core/platform"};
    allowed["core/display"] = {"core/competition", "core/data", "core/platform"};
    allowed["app/widgets"] = kCore;
    allowed["app/audience"] = kCore + QStringList{"app/widgets"};
    allowed["app/console"] = allowed["app/audience"] + QStringList{"app/audience"};
    allowed["app/rehearsal"] = allowed["app/console"] + QStringList{"app/console"};
    allowed["app/web"] = allowed["app/rehearsal"];
    allowed["."] = kLayers;
    return allowed;
}

// The layer of a path relative to src/: the deepest listed folder holding it, else its folder.
QString LayerOf(const QString& relPath) {
    const QString dir = QFileInfo(relPath).path();
    QString best;
    for (const QString& layer : kLayers) {
        if ((dir == layer || dir.startsWith(layer + '/')) && layer.size() > best.size()) {
            best = layer;
        }
    }
    return best.isEmpty() ? dir : best;
}

// The folders of a list (';' or '|' between them; CMake splits compile definitions at ';') whose
// last component is one of the given Qt modules.
QStringList ModuleDirs(const char* list, const QStringList& modules) {
    static const QRegularExpression separator("[;|]");
    QStringList dirs;
    for (const QString& dir : QString::fromUtf8(list).split(separator, Qt::SkipEmptyParts)) {
        const QString clean = QDir::cleanPath(dir);
        if (modules.contains(QFileInfo(clean).fileName())) dirs << clean;
    }
    return dirs;
}

// The Qt module among the folders that provides a header (Name or Module/Name), else empty.
QString ModuleOf(const QString& header, const QStringList& dirs) {
    const qsizetype slash = header.lastIndexOf('/');
    const QString prefix = header.left(std::max<qsizetype>(slash, 0));
    const QString name = header.mid(slash + 1);
    for (const QString& dir : dirs) {
        const QString module = QFileInfo(dir).fileName();
        if (header == module ||
            ((prefix.isEmpty() || prefix == module) && QFileInfo(dir + '/' + name).isFile())) {
            return module;
        }
    }
    return {};
}

struct Include {
    QString file;     // relative to src/
    int line = 0;     // 1-based
    QString written;  // as in the source, with its quotes or angle brackets
    QString from;     // layer of the including file
    QString target;   // file of the tree it names, relative to src/, or empty
    QString to;       // layer of the target
    QString module;   // Qt Widgets or network module providing it, or empty

    bool Network() const { return !module.isEmpty() && module != "QtWidgets"; }
    QString Where() const {
        return QStringLiteral("src/%1:%2: #include %3").arg(file).arg(line).arg(written);
    }
    QString Arrow() const { return Where() + QStringLiteral(" (%1 -> %2)").arg(from, to); }
};

}  // namespace

class LayersTest : public QObject {
    Q_OBJECT
    const QStringList widgetsDirs_ = ModuleDirs(TRQ_QT_WIDGETS_INCLUDE, {"QtWidgets"});
    const QStringList networkDirs_ =
        ModuleDirs(TRQ_QT_NETWORK_INCLUDE, {"QtNetwork", "QtHttpServer", "QtWebSockets"});
    int files_ = 0;
    QList<Include> includes_;
    QList<Include> arrows_;  // includes naming a file of another layer

    // Lists every finding in full (test messages get cut), then fails.
    static void Check(const QStringList& errors) {
        for (const QString& error : errors) qWarning().noquote() << error;
        QVERIFY2(errors.isEmpty(), qPrintable(QStringLiteral("%1 finding(s), listed above: %2")
                                                  .arg(errors.size())
                                                  .arg(errors.value(0).section('\n', 0, 0))));
    }

  private slots:
    void initTestCase() {
        const QString root = QString::fromLocal8Bit(qgetenv("TRQ_SOURCE_DIR"));
        QVERIFY2(!root.isEmpty(), "TRQ_SOURCE_DIR is not set (it must name the project root)");
        const QDir src(root + "/src");
        QVERIFY2(src.exists(), qPrintable(src.path() + " does not exist"));
        static const QRegularExpression directive("^\\s*#\\s*include\\s*([<\"])([^\">]+)[\">]");
        QDirIterator it(src.path(), {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable("cannot read " + path));
            ++files_;
            for (int line = 1; !file.atEnd(); ++line) {
                const auto m = directive.match(QString::fromUtf8(file.readLine()));
                if (!m.hasMatch()) continue;
                Include inc;
                inc.file = src.relativeFilePath(path);
                inc.line = line;
                inc.written = m.captured(0).mid(m.capturedStart(1));
                inc.from = LayerOf(inc.file);
                const QString name = m.captured(2).trimmed();
                // Written relative to src/; relative to the including file is caught as well.
                for (const QString& base : {src.path(), QFileInfo(path).path()}) {
                    const QString rel = src.relativeFilePath(QDir::cleanPath(base + '/' + name));
                    if (m.captured(1) == "\"" && !rel.startsWith("..") &&
                        QFileInfo(src.filePath(rel)).isFile()) {
                        inc.target = rel;
                        inc.to = LayerOf(rel);
                        break;
                    }
                }
                if (inc.target.isEmpty()) {
                    inc.module = name == "QtWidgets" ? name : ModuleOf(name, widgetsDirs_);
                    if (inc.module.isEmpty()) inc.module = ModuleOf(name, networkDirs_);
                }
                includes_ << inc;
                if (!inc.target.isEmpty() && inc.from != inc.to) arrows_ << inc;
            }
        }
    }

    // The scan and the header classification really see something.
    void scanFindsTheTree() {
        const auto quoted = std::count_if(includes_.begin(), includes_.end(),
                                          [](const Include& i) { return !i.target.isEmpty(); });
        QVERIFY2(files_ >= 100, qPrintable(QStringLiteral("only %1 source files").arg(files_)));
        QVERIFY2(quoted >= 50, qPrintable(QStringLiteral("only %1 tree includes").arg(quoted)));
        QCOMPARE(ModuleOf("QWidget", widgetsDirs_), QString("QtWidgets"));
        QCOMPARE(ModuleOf("QtWidgets/QWidget", widgetsDirs_), QString("QtWidgets"));
        QCOMPARE(ModuleOf("QTcpSocket", networkDirs_), QString("QtNetwork"));
        QCOMPARE(ModuleOf("QString", widgetsDirs_ + networkDirs_), QString());
        QCOMPARE(LayerOf("main.cpp"), QString("."));
    }

    void noFolderCircles() {
        QMap<QPair<QString, QString>, Include> edges;  // first include of each arrow
        QMap<QString, QSet<QString>> reach;            // layers reachable from each layer
        for (const Include& i : arrows_) {
            if (!edges.contains({i.from, i.to})) edges.insert({i.from, i.to}, i);
            reach[i.from] << i.to;
        }
        const QStringList layers = reach.keys();
        for (const QString& k : layers) {
            for (const QString& i : layers) {
                if (reach[i].contains(k)) reach[i] += reach[k];
            }
        }
        QStringList errors;
        QSet<QString> done;
        for (const QString& a : layers) {
            if (done.contains(a) || !reach[a].contains(a)) continue;
            QSet<QString> circle;
            for (const QString& b : reach[a]) {
                if (reach[b].contains(a)) circle << b;
            }
            done += circle;
            QStringList names = circle.values();
            names.sort();
            QString error = "include circle between " + names.join(", ") + ':';
            for (auto e = edges.begin(); e != edges.end(); ++e) {
                if (circle.contains(e.key().first) && circle.contains(e.key().second)) {
                    error += "\n  " + e->Arrow();
                }
            }
            errors << error;
        }
        Check(errors);
    }

    void coreDoesNotIncludeApp() {
        QStringList errors;
        for (const Include& i : arrows_) {
            if (i.from.startsWith("core/") && (i.to.startsWith("app/") || i.to == ".")) {
                errors << i.Arrow();
            }
        }
        Check(errors);
    }

    void coreHasNoWidgetsOrNetwork() {
        QStringList errors;
        for (const Include& i : includes_) {
            if (i.from.startsWith("core/") && !i.module.isEmpty()) {
                errors << i.Where() + " (" + i.module + " in core)";
            }
        }
        Check(errors);
    }

    void layerDirections() {
        const QMap<QString, QStringList> allowed = AllowedTargets();
        QStringList errors;
        for (const Include& i : arrows_) {
            if (!allowed.value(i.from).contains(i.to)) errors << i.Arrow() + " not allowed";
        }
        Check(errors);
    }

    void networkOnlyInWeb() {
        QStringList errors;
        for (const Include& i : includes_) {
            if (i.Network() && i.from != "app/web") {
                errors << i.Where() + " (" + i.module + " outside app/web)";
            }
        }
        Check(errors);
    }
};

QTEST_GUILESS_MAIN(LayersTest)
#include "layers_test.moc"
