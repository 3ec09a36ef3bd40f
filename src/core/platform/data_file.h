#pragma once
// Paths of data files: folder + separator + name, with the folder written by a Windows machine
// possibly differing in letter case from the names the program asks for.

#include <QString>
#include <string>

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// folder + separator + name. When no file of that exact path exists, the one entry of the folder
// whose name matches ignoring ASCII letter case is taken (each path component is looked up so,
// e.g. "Assist/H_03_2.dat"). When nothing matches, the plain joined path is returned.
std::string DataFilePath(const std::string& folder, const std::string& name);

// printf-style name built from a format such as "H_%02d_%d.dat".
std::string FormatName(const char* format, int a, int b);
std::string FormatName(const char* format, int a);

// A path of this machine's file system (bytes as the system takes them) as text, and back.
QString DecodePath(const std::string& path);
std::string EncodePath(const QString& path);

bool IsRegularFile(const std::string& path);
bool IsDirectory(const std::string& path);
