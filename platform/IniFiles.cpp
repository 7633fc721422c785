#include "platform/IniFiles.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view Blanks = " \t\r\v\f";
constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(Blanks) - first + 1);
}

bool StartsWithBlank(std::string_view s) {
    return !s.empty() && Blanks.find(s.front()) != std::string_view::npos;
}

bool EndsWithBlank(std::string_view s) {
    return !s.empty() && Blanks.find(s.back()) != std::string_view::npos;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Names are compared without regard to ASCII letter case; other bytes must match exactly.
bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

enum class TLineKind { Other, Comment, Section, Key };

struct TParsedLine {
    TLineKind Kind = TLineKind::Other;
    std::string_view Name;
    // For a key: where its "=" and its value stand in the line, blanks around the value left
    // out. An empty value is placed right after the "=".
    std::size_t Equals = 0;
    std::size_t ValueBegin = 0;
    std::size_t ValueEnd = 0;
};

TParsedLine ParseLine(std::string_view content) {
    TParsedLine line;
    const std::string_view trimmed = Trim(content);
    if (trimmed.empty())
        return line;
    if (trimmed.front() == ';') {
        line.Kind = TLineKind::Comment;
        return line;
    }
    if (trimmed.front() == '[') {
        const auto close = trimmed.find(']');
        if (close != std::string_view::npos) {
            line.Kind = TLineKind::Section;
            line.Name = Trim(trimmed.substr(1, close - 1));
            return line;
        }
    }
    const auto equals = content.find('=');
    if (equals == std::string_view::npos)
        return line;
    line.Kind = TLineKind::Key;
    line.Equals = equals;
    line.Name = Trim(content.substr(0, equals));
    const std::string_view value = Trim(content.substr(equals + 1));
    line.ValueBegin = value.empty() ? equals + 1 : std::size_t(value.data() - content.data());
    line.ValueEnd = line.ValueBegin + value.size();
    return line;
}

// A value in matching double or single quotes is read without them.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool BreaksLine(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

// ---- TIniDocument -----------------------------------------------------------------------

TIniDocument::TIniDocument(std::string_view text) : FNewLine("\n") {
    if (text.starts_with(Utf8ByteOrderMark)) {
        FByteOrderMark = Utf8ByteOrderMark;
        text.remove_prefix(Utf8ByteOrderMark.size());
    }
    bool endingSeen = false;
    while (!text.empty()) {
        const auto newLine = text.find('\n');
        TLine line;
        if (newLine == std::string_view::npos) {
            line.Content = text;
            text = {};
        } else {
            const bool crlf = newLine > 0 && text[newLine - 1] == '\r';
            line.Content = text.substr(0, crlf ? newLine - 1 : newLine);
            line.Ending = crlf ? "\r\n" : "\n";
            text.remove_prefix(newLine + 1);
            if (!endingSeen) {
                FNewLine = line.Ending;
                endingSeen = true;
            }
        }
        FLines.push_back(std::move(line));
    }
}

std::string TIniDocument::Text() const {
    std::string text = FByteOrderMark;
    for (const TLine &line : FLines)
        text += line.Content + line.Ending;
    return text;
}

std::vector<std::string> TIniDocument::SectionNames() const {
    std::vector<std::string> names;
    for (const TLine &line : FLines) {
        const TParsedLine parsed = ParseLine(line.Content);
        if (parsed.Kind == TLineKind::Section)
            names.emplace_back(parsed.Name);
    }
    return names;
}

std::vector<std::string> TIniDocument::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    const auto header = FindSection(section);
    if (!header)
        return names;
    const std::size_t end = SectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        const TParsedLine parsed = ParseLine(FLines[i].Content);
        if (parsed.Kind == TLineKind::Key)
            names.emplace_back(parsed.Name);
    }
    return names;
}

std::optional<std::size_t> TIniDocument::FindSection(std::string_view section) const {
    section = Trim(section);
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const TParsedLine parsed = ParseLine(FLines[i].Content);
        if (parsed.Kind == TLineKind::Section && SameName(parsed.Name, section))
            return i;
    }
    return std::nullopt;
}

std::size_t TIniDocument::SectionEnd(std::size_t sectionLine) const {
    std::size_t i = sectionLine + 1;
    while (i < FLines.size() && ParseLine(FLines[i].Content).Kind != TLineKind::Section)
        ++i;
    return i;
}

std::optional<std::size_t> TIniDocument::FindKey(std::size_t sectionLine,
                                                 std::string_view key) const {
    key = Trim(key);
    const std::size_t end = SectionEnd(sectionLine);
    for (std::size_t i = sectionLine + 1; i < end; ++i) {
        const TParsedLine parsed = ParseLine(FLines[i].Content);
        if (parsed.Kind == TLineKind::Key && SameName(parsed.Name, key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> TIniDocument::Value(std::string_view section,
                                               std::string_view key) const {
    const auto header = FindSection(section);
    if (!header)
        return std::nullopt;
    const auto keyLine = FindKey(*header, key);
    if (!keyLine)
        return std::nullopt;
    const std::string &content = FLines[*keyLine].Content;
    const TParsedLine parsed = ParseLine(content);
    return std::string(Unquote(
        std::string_view(content).substr(parsed.ValueBegin, parsed.ValueEnd - parsed.ValueBegin)));
}

std::string TIniDocument::ReadString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const {
    std::string value = Value(section, key).value_or(std::string(defaultValue));
    if (value.size() > MaxValueLength)
        value.resize(MaxValueLength);
    return value;
}

bool TIniDocument::CanStore(std::string_view section, std::string_view key,
                            std::string_view value) {
    if (BreaksLine(section) || BreaksLine(key) || BreaksLine(value))
        return false;
    if (Trim(section).find(']') != std::string_view::npos)
        return false;
    key = Trim(key);
    return key.find('=') == std::string_view::npos && !key.starts_with('[') &&
           !key.starts_with(';');
}

bool TIniDocument::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
    if (!CanStore(section, key, value))
        return false;
    const std::string keyLine = std::string(Trim(key)) + "=" + std::string(value);
    const auto header = FindSection(section);
    if (!header) {
        InsertLine(FLines.size(), "[" + std::string(Trim(section)) + "]");
        InsertLine(FLines.size(), keyLine);
        return true;
    }
    if (const auto existing = FindKey(*header, key)) {
        std::string &content = FLines[*existing].Content;
        const TParsedLine parsed = ParseLine(content);
        // The blanks around the old value stay, unless the new value brings its own: writing the
        // same value again must not let them pile up.
        const std::size_t begin = StartsWithBlank(value) ? parsed.Equals + 1 : parsed.ValueBegin;
        const std::size_t end = EndsWithBlank(value) ? content.size() : parsed.ValueEnd;
        content.replace(begin, end - begin, value);
        return true;
    }
    std::size_t after = *header;
    const std::size_t end = SectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i)
        if (ParseLine(FLines[i].Content).Kind == TLineKind::Key)
            after = i;
    InsertLine(after + 1, keyLine);
    return true;
}

void TIniDocument::InsertLine(std::size_t index, std::string content) {
    // Only the last line can lack an ending; a line placed after it gives it one.
    if (index > 0 && FLines[index - 1].Ending.empty())
        FLines[index - 1].Ending = FNewLine;
    FLines.insert(FLines.begin() + std::ptrdiff_t(index), TLine{std::move(content), FNewLine});
}

// ---- Files ------------------------------------------------------------------------------

namespace {

enum class TReadResult { Read, Missing, Failed };

TReadResult ReadWholeFile(const std::string &path, std::string &bytes) {
    bytes.clear();
    // Opened without waiting, so that a pipe in the file's place cannot stall the program; only
    // a regular file is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? TReadResult::Missing : TReadResult::Failed;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return TReadResult::Failed;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, std::size_t(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            ::close(fd);
            return TReadResult::Failed;
        }
    }
    ::close(fd);
    return TReadResult::Read;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n <= 0) {
            if (n < 0 && errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

// Creates a new file beside the target, named ".<name>.<six random letters>", with the mode a new
// file gets (0666 less the umask). Returns its descriptor, or -1.
int CreateTemporaryFile(const fs::path &target, std::string &temporaryPath) {
    static constexpr std::string_view Letters = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, Letters.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = "." + target.filename().string() + ".";
        for (int i = 0; i < 6; ++i)
            name += Letters[pick(random)];
        temporaryPath = (target.parent_path() / name).string();
        const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Flushes a folder so that a rename in it reaches the disk. A folder that cannot be flushed
// does not undo the rename that already took place.
void SyncFolder(const fs::path &folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes the bytes to a new file beside the target and renames it over the target. On failure
// the target is untouched and the new file removed.
bool ReplaceFile(const fs::path &target, std::string_view bytes, std::optional<mode_t> mode) {
    std::string temporaryPath;
    const int fd = CreateTemporaryFile(target, temporaryPath);
    if (fd < 0)
        return false;
    bool written = WriteAll(fd, bytes) && (!mode || ::fchmod(fd, *mode) == 0) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(temporaryPath.c_str(), target.c_str()) != 0) {
        ::unlink(temporaryPath.c_str());
        return false;
    }
    SyncFolder(target.parent_path());
    return true;
}

std::string FullPath(const std::string &fileName) {
    std::error_code error;
    const fs::path full = fs::absolute(fileName, error);
    return error ? fileName : full.string();
}

} // namespace

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

std::string TIniFile::ReadString(const std::string &section, const std::string &key,
                                 const std::string &defaultValue) const {
    std::string bytes;
    if (ReadWholeFile(FFileName, bytes) != TReadResult::Read)
        bytes.clear();
    return TIniDocument(bytes).ReadString(section, key, defaultValue);
}

void TIniFile::WriteString(const std::string &section, const std::string &key,
                           const std::string &value) {
    const auto refused = [this] {
        return EIniFileException(FullPath(FFileName));
    };
    // A link to the file stays a link: the file it points to is the one replaced.
    fs::path target = FFileName;
    std::error_code error;
    if (fs::is_symlink(target, error)) {
        fs::path resolved = fs::canonical(target, error);
        if (!error)
            target = std::move(resolved);
    }

    std::string old;
    const TReadResult read = ReadWholeFile(target.string(), old);
    if (read == TReadResult::Failed)
        throw refused();
    TIniDocument document(old);
    if (!document.WriteString(section, key, value))
        throw refused();
    const std::string text = document.Text();
    // Nothing to write when the file already holds the value: a file that cannot be written
    // but needs no change is no failure.
    if (read == TReadResult::Read && text == old)
        return;

    std::optional<mode_t> mode;
    struct stat status;
    if (read == TReadResult::Read && ::stat(target.c_str(), &status) == 0)
        mode = status.st_mode & 07777;
    // The file is replaced, not written in place, which would go round a protection: a file
    // without write permission is refused as writing it in place would be.
    if (mode && (!(*mode & S_IWUSR) || ::access(target.c_str(), W_OK) != 0))
        throw refused();
    if (!ReplaceFile(target, text, mode))
        throw refused();
}

std::string ExistingFileNameIgnoringCase(const std::string &path) {
    const fs::path given = path;
    std::error_code error;
    if (fs::exists(fs::symlink_status(given, error)))
        return path;
    const std::string name = given.filename().string();
    if (name.empty())
        return path;
    const fs::path folder = given.parent_path();
    std::vector<std::string> matches;
    for (fs::directory_iterator entry(folder.empty() ? fs::path(".") : folder, error), end;
         !error && entry != end; entry.increment(error)) {
        std::error_code kindError;
        const std::string candidate = entry->path().filename().string();
        if (SameName(candidate, name) && entry->is_regular_file(kindError))
            matches.push_back(candidate);
    }
    if (matches.empty())
        return path;
    // Several spellings in one folder: take the first in byte order, so the choice is stable.
    return (folder / *std::min_element(matches.begin(), matches.end())).string();
}
