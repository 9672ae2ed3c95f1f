// Data files beside the program: opened by bare name from the working
// directory. Names are matched ignoring letter case when no file has the
// exact name, since the names that files and records use ("TWL06.LST",
// "CATALAN.lst") come from a world of case-insensitive file systems.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pexil {

// The folder the programs take their data from when no folder is named:
// their own folder when it holds game.definitions (the build's run folder),
// else share/pexil beside the folder they are installed in
// (PREFIX/bin/pexil-cli reads PREFIX/share/pexil) when that holds it, else
// their own folder all the same.
std::filesystem::path programDataFolder(const std::filesystem::path& programFolder);

// The path of an existing file with this name, or none.
std::optional<std::string> findDataFile(std::string_view name);
bool dataFileExists(std::string_view name);

// A companion file's name: the name cut at its first '.', plus extension
// (which includes its dot): ("TWL06.LST", ".rack") -> "TWL06.rack".
std::string companionName(std::string_view name, std::string_view extension);

// Reads a whole file into memory; none when it cannot be opened or read, or
// is larger than maxBytes.
std::optional<std::string> readWholeFile(const std::string& path, std::size_t maxBytes = std::size_t(1) << 30);

}  // namespace pexil
