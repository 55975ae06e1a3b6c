#include "ui/file_list.h"

#include "core/runtime_error.h"

namespace vcit::ui {

void FileList::setListIndex(long index) {
  if (index < -1 || index >= listCount()) raise(err::kInvalidPropertyValue);
  listIndex_ = index;
}

}  // namespace vcit::ui
