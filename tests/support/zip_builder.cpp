#include "support/zip_builder.h"

namespace vcit::testing {

namespace {

void put(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

// Not the data's real CRC-32: directory readers do not look at it.
constexpr std::uint32_t kCrc = 0x12345678;

}  // namespace

std::string endRecord(std::uint64_t entries, std::uint64_t size, std::uint64_t offset,
                      std::uint16_t commentLength) {
  std::string out = "PK\x05\x06";
  put(out, 0, 2);  // this disk
  put(out, 0, 2);  // the directory's disk
  put(out, entries, 2);
  put(out, entries, 2);
  put(out, size, 4);
  put(out, offset, 4);
  put(out, commentLength, 2);
  return out;
}

std::string zipArchive(const std::vector<ZipEntry>& entries, const ZipOptions& options) {
  std::string out;
  std::string directory;
  for (const ZipEntry& e : entries) {
    const std::uint64_t localAt = out.size();
    const std::uint16_t flags = e.utf8Flag ? 0x0800 : 0;
    out += "PK\x03\x04";
    put(out, 20, 2);  // version needed
    put(out, flags, 2);
    put(out, e.method, 2);
    put(out, 0, 4);  // time and date
    put(out, kCrc, 4);
    put(out, e.data.size(), 4);  // compressed
    put(out, e.data.size(), 4);  // uncompressed (not the real size of deflated data)
    put(out, e.name.size(), 2);
    put(out, 0, 2);  // extra
    out += e.name;
    out += e.data;

    directory += "PK\x01\x02";
    put(directory, 0x031E, 2);  // made by
    put(directory, options.zip64 ? 45 : 20, 2);
    put(directory, flags, 2);
    put(directory, e.method, 2);
    put(directory, 0, 4);
    put(directory, kCrc, 4);
    put(directory, e.data.size(), 4);
    put(directory, e.data.size(), 4);
    put(directory, e.name.size(), 2);
    put(directory, 0, 2);  // extra
    put(directory, 0, 2);  // comment
    put(directory, 0, 2);  // disk
    put(directory, 0, 2);  // internal attributes
    put(directory, e.name.back() == '/' ? 0x10 : 0, 4);
    put(directory, localAt, 4);
    directory += e.name;
  }
  const std::uint64_t directoryAt = out.size();
  out += directory;
  const std::uint64_t count = options.entryCount.value_or(entries.size());
  const std::uint64_t size = options.directorySize.value_or(directory.size());
  const std::uint64_t offset = options.directoryOffset.value_or(directoryAt);
  const auto commentLength = static_cast<std::uint16_t>(options.comment.size());
  if (options.zip64) {
    const std::uint64_t recordAt = out.size();
    out += "PK\x06\x06";
    put(out, 44, 8);  // the record's size after this field
    put(out, 45, 2);
    put(out, 45, 2);
    put(out, 0, 4);
    put(out, 0, 4);
    put(out, count, 8);
    put(out, count, 8);
    put(out, size, 8);
    put(out, offset, 8);
    out += "PK\x06\x07";
    put(out, 0, 4);
    put(out, recordAt, 8);
    put(out, 1, 4);
    out += endRecord(0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF, commentLength);
  } else {
    out += endRecord(count, size, offset, commentLength);
  }
  out += options.comment;
  return out;
}

std::string zipOfNames(const std::vector<std::string>& names, const ZipOptions& options) {
  std::vector<ZipEntry> entries;
  entries.reserve(names.size());
  for (const std::string& name : names) entries.push_back({name, name});
  return zipArchive(entries, options);
}

}  // namespace vcit::testing
