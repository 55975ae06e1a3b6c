#include <zip.h>

#include <memory>
#include <string>
#include <vector>

#include "core/zip_directory.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_targets.h"
#include "support/zip_builder.h"

namespace vcit::fuzz {

namespace {

// The file entries libzip lists (names as the format says: code page 437 unless flagged
// UTF-8); none when it does not open the archive, or when a name holds a control character,
// which libzip leaves as it is in an ASCII name and turns into a symbol in any other.
std::optional<std::vector<std::string>> libzipFiles(const std::string& archive) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(archive.data(), archive.size(), 0, &error);
  if (!source) return std::nullopt;
  zip_t* za = zip_open_from_source(source, ZIP_RDONLY, &error);
  zip_error_fini(&error);
  if (!za) {
    zip_source_free(source);
    return std::nullopt;
  }
  std::unique_ptr<zip_t, void (*)(zip_t*)> held(za, [](zip_t* z) { zip_discard(z); });
  std::vector<std::string> files;
  const zip_int64_t count = zip_get_num_entries(za, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* raw = zip_get_name(za, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
    const char* name = zip_get_name(za, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_STRICT);
    if (!raw || !name) return std::nullopt;
    for (const char* p = raw; *p; ++p)
      if (static_cast<unsigned char>(*p) < 0x20 || *p == 0x7F) return std::nullopt;
    const std::string s(name);
    if (s.empty() || s.back() == '/' || s.back() == '\\') continue;
    files.push_back(s);
  }
  return files;
}

// A name of 1 to 12 characters: printable ASCII and "/" and "\", with code page 437 bytes
// (unflagged) or UTF-8 characters (flagged) among them.
std::string entryName(Bytes& in, bool utf8Flag) {
  std::string name;
  const int length = 1 + in.next() % 12;
  for (int k = 0; k < length; ++k) {
    const std::uint8_t b = in.next();
    if (b < 0x60)
      name += static_cast<char>(0x20 + b % 0x5F);
    else if (b < 0x70)
      name += '/';
    else if (!utf8Flag)
      name += static_cast<char>(0x80 | b);
    else
      name += utf8(0x80 + ((static_cast<std::uint32_t>(b) & 0x7F) << 3 | in.next() % 8));
  }
  return name;
}

// An archive built from the input: entries, zip64 or not, a comment that may hold a false
// end-of-directory record, and at most one byte changed or the end cut off.
std::string builtArchive(Bytes& in) {
  const std::uint8_t shape = in.next();
  std::vector<testing::ZipEntry> entries;
  const int count = in.next() % 9;
  for (int i = 0; i < count; ++i) {
    const bool flagged = in.next() & 1;
    entries.push_back({entryName(in, flagged), in.take(in.next() % 4), 0, flagged});
  }
  testing::ZipOptions options;
  options.zip64 = shape & 1;
  if (shape & 2) options.comment = in.take(in.next() % 16);
  if (shape & 4) {
    options.comment += testing::endRecord(1, 46, 0, 4) + "\xFF\xFF\xFF\xFF";
  }
  std::string archive = testing::zipArchive(entries, options);
  if ((shape & 0x18) == 0x08 && !archive.empty())
    archive[(in.next() << 8 | in.next()) % archive.size()] = static_cast<char>(in.next());
  if ((shape & 0x18) == 0x10) archive.resize(archive.size() - in.next() % (archive.size() + 1));
  return archive;
}

}  // namespace

void zipDirectoryInput(const std::uint8_t* data, std::size_t size) {
  Bytes in(data, size);
  const bool built = in.next() & 1;
  const std::string archive = built ? builtArchive(in) : in.rest();

  int reads = 0;
  const zip::Directory ours =
      zip::readDirectory(archive.size(), [&](std::uint64_t offset, std::size_t count) {
        ++reads;
        check(offset <= archive.size() && count <= archive.size() - offset,
              "a read past the end of the file");
        return archive.substr(static_cast<std::size_t>(offset), count);
      });
  check(reads <= 1 + 2 * 4, "more reads than the tail and four records' directories");
  check(ours.outcome == zip::Outcome::Read || ours.size() == 0, "names of an unread archive");

  const std::optional<std::vector<std::string>> theirs = libzipFiles(archive);
  if (ours.outcome != zip::Outcome::Read || !theirs) return;
  for (const std::string& name : ours.files())  // a NUL, which ends libzip's name
    if (name.find('\0') != std::string::npos) return;
  std::string listed;
  for (const auto& n : ours.files()) listed += "[" + n + "]";
  listed += " libzip:";
  for (const auto& n : *theirs) listed += "[" + n + "]";
  check(ours.files() == *theirs, "names differ from libzip's: " + listed);
}

}  // namespace vcit::fuzz
