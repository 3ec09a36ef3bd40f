#pragma once
// Helpers for tests that feed real files: a temporary data folder and CP932 writers.

#include <QTemporaryDir>
#include <string>
#include <vector>

#include "core/platform/draw_record.h"

class TestFolder {
  public:
    TestFolder();
    const std::string& Path() const { return path_; }
    // Writes raw bytes to Path()/name (creating sub-folders such as "Assist").
    void WriteBytes(const std::string& name, const std::string& bytes) const;
    // Writes UTF-8 text converted to CP932; every "\n" becomes CR LF.
    void WriteCp932(const std::string& name, const std::string& utf8Text) const;
    void Remove(const std::string& name) const;

  private:
    QTemporaryDir dir_;
    std::string path_;
};

// UTF-8 text to CP932 bytes with "\n" turned into CR LF.
std::string Cp932Lines(const std::string& utf8Text);

// Records of one operation kind, and the texts drawn, in drawing order.
std::vector<DrawRecord> RecordsOf(const std::vector<DrawRecord>& all, const char* op);
const DrawRecord* FindText(const std::vector<DrawRecord>& all, const QString& text);
