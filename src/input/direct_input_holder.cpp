#include "input/direct_input_holder.h"

namespace drawing::input {

DirectInputHolder::DirectInputHolder(platform::DirectInputModule& module,
                                     platform::Hinstance instance)
    : module_(module), instance_(instance) {}

platform::DirectInput* DirectInputHolder::OpenDirectInput() {
  if (object_ == nullptr) {
    library_ = module_.LoadLibrary();
    if (library_ && module_.GetProcAddress()) {
      // The code is not examined: the object field tells.
      platform::IgnoreResult(module_.DirectInputCreateEx(instance_, kVersion, &object_));
    }
  }
  ++users_;
  return object_;
}

void DirectInputHolder::CloseDirectInput() {
  --users_;
  if (object_ != nullptr && users_ == 0) {
    object_->Release();
    module_.FreeLibrary();
    library_ = false;
    object_ = nullptr;
  }
}

}  // namespace drawing::input
