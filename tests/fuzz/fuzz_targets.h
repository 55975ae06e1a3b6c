#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Fuzz targets shared by the bounded randomized runs of the native tests and by the libFuzzer
// builds of tools/fuzz. Each target turns arbitrary bytes into a situation for the program's
// logic on the fake platform, runs it, and checks what must hold whatever the bytes were.
namespace vcit::fuzz {

// A broken invariant. Deliberately not a std::exception, so that no handler of the program
// catches it on its way out.
struct Failure {
  std::string what;
};

// Packages named from the input in the package folder, an Active.dat made of the input's bytes
// (raw, or records built from the package names with arbitrary mark bytes and garbage between
// them), then start-up, optionally a mark change and Apply (with injected write failures), and
// a second start-up over what Apply wrote. Only run-time errors 5, 6, 13, 340 and 380 (and
// the injected 61) may be reported; the state file must be released and made of whole records;
// the game folder must hold only whole packages; marks must survive Apply and a restart.
void stateFileInput(const std::uint8_t* data, std::size_t size);

// Registry values of every type with arbitrary data (odd sizes, missing NULs) in the fake
// registry, read through RegOp with arbitrary options, listed, counted, then overwritten with
// values of every kind and read back. Only run-time errors 5, 6, 13 and 94 may reach the
// caller; every value read must be the conversion of its stored data.
void regOpInput(const std::uint8_t* data, std::size_t size);

// Arbitrary bytes, or a zip archive built from them (names in code page 437 or flagged UTF-8,
// zip64, a false record in the comment, a byte changed, the end cut off), read by the program's
// zip reader and by libzip: no read outside the file, a bounded number of reads, and where
// both read the directory, the same file names in the same order.
void zipDirectoryInput(const std::uint8_t* data, std::size_t size);

}  // namespace vcit::fuzz
