#include "jvmhost/jvm_options.h"

#include <cstring>
#include <new>

namespace zep::jvmhost {

void JvmOptions::append(std::string_view bytes) { appendWithExtra(bytes, nullptr); }

void JvmOptions::appendWithExtra(std::string_view bytes, void* extraInfo) {
    platform::UniqueMalloc<char*> text(static_cast<char*>(std::malloc(bytes.size() + 1)));
    if (!text) throw std::bad_alloc();
    std::memcpy(text.get(), bytes.data(), bytes.size());
    text.get()[bytes.size()] = '\0';
    records_.reserve(records_.size() + 1);  // so that the push_back below cannot throw
    texts_.push_back(std::move(text));
    records_.push_back(JavaVMOption{texts_.back().get(), extraInfo});
}

void JvmOptions::clear() {
    records_.clear();
    for (auto& text : texts_) text.reset();
    texts_.clear();
}

}  // namespace zep::jvmhost
