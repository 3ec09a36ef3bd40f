#include "support/test_files.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "core/platform/cp932.h"

TestFolder::TestFolder() : path_(dir_.path().toStdString()) {}

void TestFolder::WriteBytes(const std::string& name, const std::string& bytes) const {
    const std::string full = path_ + "/" + name;
    QDir().mkpath(QFileInfo(QString::fromStdString(full)).absolutePath());
    std::FILE* f = std::fopen(full.c_str(), "wb");
    if (f == nullptr) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

void TestFolder::WriteCp932(const std::string& name, const std::string& utf8Text) const {
    WriteBytes(name, Cp932Lines(utf8Text));
}

void TestFolder::Remove(const std::string& name) const {
    std::remove((path_ + "/" + name).c_str());
}

std::string Cp932Lines(const std::string& utf8Text) {
    const std::string bytes = Sjis(utf8Text.c_str());
    std::string out;
    for (char c : bytes) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

std::vector<DrawRecord> RecordsOf(const std::vector<DrawRecord>& all, const char* op) {
    std::vector<DrawRecord> out;
    for (const DrawRecord& r : all) {
        if (r.op == QLatin1String(op)) out.push_back(r);
    }
    return out;
}

const DrawRecord* FindText(const std::vector<DrawRecord>& all, const QString& text) {
    for (const DrawRecord& r : all) {
        if (r.op == QLatin1String("text") && r.text == text) return &r;
    }
    return nullptr;
}
