#include "platform/EntryName.h"

namespace tv {

EntryName EntryName::Of(std::u16string exact, const TextCodec& codec) {
    std::string shown = codec.WideToAnsi(exact);
    return EntryName(std::move(shown), std::move(exact));
}

std::u16string EntryName::Exact(const TextCodec& codec) const {
    return exact_.empty() ? codec.AnsiToWide(shown_) : exact_;
}

bool EntryName::HasNul() const {
    return shown_.find('\0') != std::string::npos || exact_.find(u'\0') != std::u16string::npos;
}

}  // namespace tv
