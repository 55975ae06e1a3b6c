#include "core/runtime_error.h"

#include <utility>

namespace vcit {

std::string describeError(int number) {
  switch (number) {
    case err::kInvalidProcedureCall:
      return "Invalid procedure call or argument";
    case err::kOverflow:
      return "Overflow";
    case err::kOutOfMemory:
      return "Out of memory";
    case err::kTypeMismatch:
      return "Type mismatch";
    case err::kInternalError:
      return "Internal error";
    case err::kBadFileNameOrNumber:
      return "Bad file name or number";
    case err::kFileNotFound:
      return "File not found";
    case err::kFileAlreadyOpen:
      return "File already open";
    case err::kDeviceIoError:
      return "Device I/O error";
    case err::kDiskFull:
      return "Disk full";
    case err::kBadRecordNumber:
      return "Bad record number";
    case err::kPermissionDenied:
      return "Permission denied";
    case err::kPathFileAccessError:
      return "Path/File access error";
    case err::kPathNotFound:
      return "Path not found";
    case err::kInvalidUseOfNull:
      return "Invalid use of Null";
    case err::kControlArrayElementMissing:
      return "Control array element does not exist";
    case err::kInvalidPropertyValue:
      return "Invalid property value";
    case err::kAutomationError:
      return "Automation error";
    default:
      return "Application-defined or object-defined error";
  }
}

RuntimeError::RuntimeError(int number) : RuntimeError(number, describeError(number)) {}

RuntimeError::RuntimeError(int number, std::string description)
    : number_(number), description_(std::move(description)) {}

void raise(int number) {
  throw RuntimeError(number);
}

}  // namespace vcit
