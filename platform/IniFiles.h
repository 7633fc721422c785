// INI files read and written the way the private-profile functions treat them. Plain C++, no Qt.
//
// The text layer (TIniDocument) works on the bytes of a file in memory; TIniFile adds the file:
// it reads the file afresh for every call and replaces it atomically for every write.
//
// The format: "[Section]" lines open sections, "Key=Value" lines inside them hold the values, lines
// beginning with ";" are comments, and any other line is kept as it stands without meaning.
// Section and key names are compared without regard to ASCII letter case; blanks around names and
// values do not count; a value in matching double or single quotes is read without them.
#pragma once

#include "platform/SysUtils.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A write the file system refused; the message names the file's full path, which it keeps
// apart too, for a window to say the message in the user's language.
class EIniFileException : public Exception {
public:
    explicit EIniFileException(std::string path)
        : Exception("Unable to write to " + path), FPath(std::move(path)) {}
    const std::string &Path() const { return FPath; }

private:
    std::string FPath;
};

// The bytes of an INI file and the edits a write makes to them. Every byte not touched by an
// edit (other sections, keys, comments, blank lines, line endings) is kept as it was.
class TIniDocument {
public:
    // Longest value a read returns; longer ones are cut, as by the platform's 2048-byte buffer.
    static constexpr std::size_t MaxValueLength = 2047;

    explicit TIniDocument(std::string_view text = {});

    // The file content as it would be written.
    std::string Text() const;

    // Names of the sections, in file order, duplicates included.
    std::vector<std::string> SectionNames() const;
    // Names of the keys in the first section of that name, in file order, duplicates included.
    std::vector<std::string> KeyNames(std::string_view section) const;

    // The whole value of the first such key in the first such section, quotes removed; no value
    // when the section or the key is missing (a key with an empty value reads as "").
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // Value() or the default, cut to MaxValueLength characters.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // Whether the names and the value can be written as they are: none may break the line, a
    // section name may not hold "]", and a key may not hold "=" nor begin with "[" or ";".
    static bool CanStore(std::string_view section, std::string_view key, std::string_view value);
    // Sets the value: an existing key's line gets the new value in place of its old one; a
    // missing key is added after the last key of its section (right after the header when the
    // section has none); a missing section is added at the end. Returns false, changing nothing,
    // when CanStore() refuses.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);

private:
    struct TLine {
        std::string Content; // without its line ending
        std::string Ending;  // "\n", "\r\n" or "" for a last line without one
    };

    std::optional<std::size_t> FindSection(std::string_view section) const;
    // The line index of the first such key in the section whose header is at sectionLine.
    std::optional<std::size_t> FindKey(std::size_t sectionLine, std::string_view key) const;
    std::size_t SectionEnd(std::size_t sectionLine) const;
    void InsertLine(std::size_t index, std::string content);

    std::string FByteOrderMark; // a UTF-8 mark that opened the file, kept in front of it
    std::vector<TLine> FLines;
    std::string FNewLine; // the ending given to added lines: the file's first one, else "\n"
};

// A private-profile file by its path.
class TIniFile {
public:
    explicit TIniFile(std::string fileName);

    const std::string &FileName() const { return FFileName; }

    // The value, or the default when the file, the section or the key is missing or the file
    // cannot be read; cut to 2047 characters.
    std::string ReadString(const std::string &section, const std::string &key,
                           const std::string &defaultValue) const;
    // Creates the file and the section when missing. The file is replaced as a whole: a new
    // copy is written beside it, flushed to disk and renamed over it, keeping the old one's
    // permission bits. Raises EIniFileException "Unable to write to <full path>" when that
    // fails, leaving the file as it was and no copy behind.
    void WriteString(const std::string &section, const std::string &key, const std::string &value);

private:
    std::string FFileName;
};

// The path of an existing file in the same folder whose name differs from the given one only in
// letter case, the exact name preferred; the path unchanged when there is none.
std::string ExistingFileNameIgnoringCase(const std::string &path);
