#include "Resources.h"

#include <array>
#include <cstring>
#include <optional>

namespace lexigrove {

// Supplied by the generated data library.
extern const EmbeddedResource kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;

const char* FindResource(std::string_view type, int id) {
    for (std::size_t i = 0; i < kEmbeddedResourceCount; ++i) {
        const EmbeddedResource& r = kEmbeddedResources[i];
        if (r.id == id && type == r.type) return r.data;
    }
    return nullptr;
}

std::string_view StoredWordListText(int length) {
    // The program's data never changes, so each list is measured once: a
    // run of many searches would otherwise spend its time finding the ends.
    static std::array<std::optional<std::string_view>, 32> measured;
    const auto find = [length]() -> std::string_view {
        const char* data = FindResource("DICT", length);
        if (data == nullptr) return {};
        // The stored text ends at its NUL terminator; no size is consulted.
        return std::string_view(data, std::strlen(data));
    };
    if (length < 0 || static_cast<std::size_t>(length) >= measured.size()) return find();
    auto& slot = measured[static_cast<std::size_t>(length)];
    if (!slot) slot = find();
    return *slot;
}

std::string LoadWordListText(int length) { return std::string(StoredWordListText(length)); }

}  // namespace lexigrove
