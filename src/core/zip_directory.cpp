#include "core/zip_directory.h"

#include <algorithm>
#include <optional>

#include "core/text.h"

namespace vcit::zip {

namespace {

constexpr std::size_t kEndRecord = 22;       // end-of-central-directory record, without comment
constexpr std::size_t kZip64Locator = 20;    // zip64 end-of-central-directory locator
constexpr std::size_t kZip64Record = 56;     // zip64 end-of-central-directory record, fixed part
constexpr std::size_t kDirectoryEntry = 46;  // central directory file header, fixed part
constexpr std::uint16_t kUtf8Flag = 1u << 11;
constexpr int kMaxCandidates = 4;  // end-of-directory records followed, from the end back

// The characters of bytes 0x80 to 0xFF in code page 437 (0x00 to 0x7F are ASCII's).
constexpr char16_t kUpperHalf437[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

// Little-endian fields of a record; the caller has checked that they lie inside the bytes.
std::uint64_t field(std::string_view bytes, std::size_t at, int size) {
  std::uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

bool signatureAt(std::string_view bytes, std::size_t at, char third, char fourth) {
  return at + 4 <= bytes.size() && bytes[at] == 'P' && bytes[at + 1] == 'K' &&
         bytes[at + 2] == third && bytes[at + 3] == fourth;
}

// Well-formed UTF-8: no stray or missing continuation bytes, overlong forms or surrogates.
bool isUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    char32_t c = 0;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      n = 1, c = b & 0x1Fu;
    } else if (b >= 0xE0 && b <= 0xEF) {
      n = 2, c = b & 0x0Fu;
    } else if (b >= 0xF0 && b <= 0xF4) {
      n = 3, c = b & 0x07u;
    } else {
      return false;
    }
    if (i + n >= s.size()) return false;
    for (std::size_t k = 1; k <= n; ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      c = c << 6 | (t & 0x3Fu);
    }
    if ((n == 2 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) ||
        (n == 3 && (c < 0x10000 || c > 0x10FFFF)))
      return false;
    i += n + 1;
  }
  return true;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void appendCodePage437(std::string& out, std::string_view bytes) {
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80)
      out += ch;
    else
      appendUtf8(out, kUpperHalf437[b - 0x80]);
  }
}

// Where the directory lies and how many entries it says it has.
struct Extent {
  std::uint64_t entries = 0;
  std::uint64_t size = 0;
  std::uint64_t offset = 0;
  std::uint64_t end = 0;  // where the record that describes it begins: the directory ends before
};

// The extent an end-of-directory candidate at `at` in the tail (which begins at `tailStart` of
// the file) describes, with its zip64 record where a locator stands before it; none when the
// records contradict themselves or point outside the file.
std::optional<Extent> extentOf(std::string_view tail, std::uint64_t tailStart, std::size_t at,
                               const ReadAt& read) {
  if (field(tail, at + 4, 2) != 0 || field(tail, at + 6, 2) != 0) return std::nullopt;  // disks
  Extent e;
  e.entries = field(tail, at + 10, 2);
  e.size = field(tail, at + 12, 4);
  e.offset = field(tail, at + 16, 4);
  e.end = tailStart + at;
  if (at >= kZip64Locator && signatureAt(tail, at - kZip64Locator, '\6', '\7')) {
    const std::size_t locator = at - kZip64Locator;
    const std::uint64_t record = field(tail, locator + 8, 8);
    if (field(tail, locator + 4, 4) != 0 || field(tail, locator + 16, 4) > 1) return std::nullopt;
    if (record > tailStart + locator || tailStart + locator - record < kZip64Record)
      return std::nullopt;
    std::string bytes;
    if (record >= tailStart)
      bytes = std::string(tail.substr(static_cast<std::size_t>(record - tailStart), kZip64Record));
    else
      bytes = read(record, kZip64Record);
    if (bytes.size() < kZip64Record || !signatureAt(bytes, 0, '\6', '\6')) return std::nullopt;
    if (field(bytes, 16, 4) != 0 || field(bytes, 20, 4) != 0) return std::nullopt;  // disks
    e.entries = field(bytes, 32, 8);
    e.size = field(bytes, 40, 8);
    e.offset = field(bytes, 48, 8);
    e.end = record;
  }
  if (e.offset > e.end || e.size > e.end - e.offset) return std::nullopt;
  return e;
}

// The file entries of a directory that holds exactly `entries` entries in its bytes.
bool readEntries(std::string_view bytes, std::uint64_t entries, Directory& files) {
  std::size_t at = 0;
  for (std::uint64_t i = 0; i < entries; ++i) {
    if (bytes.size() - at < kDirectoryEntry || !signatureAt(bytes, at, '\1', '\2')) return false;
    const auto flags = static_cast<std::uint16_t>(field(bytes, at + 8, 2));
    const auto nameLength = static_cast<std::size_t>(field(bytes, at + 28, 2));
    const std::size_t length = kDirectoryEntry + nameLength +
                               static_cast<std::size_t>(field(bytes, at + 30, 2)) +
                               static_cast<std::size_t>(field(bytes, at + 32, 2));
    if (bytes.size() - at < length) return false;
    const std::string_view raw = bytes.substr(at + kDirectoryEntry, nameLength);
    at += length;
    if (raw.empty() || raw.back() == '/' || raw.back() == '\\') continue;  // a folder
    if ((flags & kUtf8Flag) && isUtf8(raw))
      files.names += raw;
    else
      appendCodePage437(files.names, raw);
    files.ends.push_back(files.names.size());
  }
  return at == bytes.size();  // else more entries than it counts
}

}  // namespace

std::string fromCodePage437(std::string_view bytes) {
  std::string out;
  appendCodePage437(out, bytes);
  return out;
}

std::vector<std::string> Directory::files() const {
  std::vector<std::string> all;
  for (std::size_t i = 0; i < size(); ++i) all.emplace_back(file(i));
  return all;
}

std::string pathKey(std::string_view name) {
  std::string key;
  appendPathKey(key, name);
  return key;
}

void appendPathKey(std::string& out, std::string_view name) {
  const std::size_t from = out.size();
  // Most names are ASCII: their capitals are A to Z alone.
  if (std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; })) {
    out += name;
    for (std::size_t i = from; i < out.size(); ++i)
      if (out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
  } else {
    out += text::foldCase(name);
  }
  std::replace(out.begin() + static_cast<std::ptrdiff_t>(from), out.end(), '\\', '/');
}

Directory readDirectory(std::uint64_t size, const ReadAt& read) {
  Directory result;
  if (size < kEndRecord) return result;
  const std::uint64_t tailStart = size - std::min<std::uint64_t>(size, kTailBytes);
  const std::string tail = read(tailStart, static_cast<std::size_t>(size - tailStart));
  if (tail.size() != size - tailStart) {
    result.outcome = Outcome::Damaged;  // shorter than its size said
    return result;
  }
  // From the end back: the last record whose comment reaches exactly to the end of the file
  // and whose directory reads is the archive's; a signature inside a comment is passed over.
  // A comment may be made of such records: only the last few are followed.
  int candidates = 0;
  for (std::size_t at = tail.size() - kEndRecord + 1; at-- > 0 && candidates < kMaxCandidates;) {
    if (!signatureAt(tail, at, '\5', '\6')) continue;
    if (at + kEndRecord + field(tail, at + 20, 2) != tail.size()) continue;
    ++candidates;
    result.outcome = Outcome::Damaged;
    const std::optional<Extent> extent = extentOf(tail, tailStart, at, read);
    if (!extent) continue;
    // Each entry takes at least its fixed part: a count beyond that is a lie, found before
    // anything is read.
    if (extent->entries > extent->size / kDirectoryEntry) continue;
    if (extent->size > kMaxDirectoryBytes || extent->entries > kMaxEntries) {
      result.outcome = Outcome::TooLarge;
      return result;
    }
    const std::string bytes = read(extent->offset, static_cast<std::size_t>(extent->size));
    if (bytes.size() != extent->size) continue;
    Directory found;
    found.ends.reserve(static_cast<std::size_t>(extent->entries));
    found.names.reserve(bytes.size());
    if (readEntries(bytes, extent->entries, found)) {
      found.outcome = Outcome::Read;
      return found;
    }
  }
  return result;
}

Directory readDirectory(std::string_view archive) {
  return readDirectory(archive.size(), [archive](std::uint64_t offset, std::size_t count) {
    if (offset >= archive.size()) return std::string();
    return std::string(archive.substr(static_cast<std::size_t>(offset), count));
  });
}

}  // namespace vcit::zip
