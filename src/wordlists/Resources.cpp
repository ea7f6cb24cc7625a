#include "Resources.h"

#include <cstring>

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
    const char* data = FindResource("DICT", length);
    if (data == nullptr) return {};
    // The stored text ends at its NUL terminator; no size is consulted.
    return std::string_view(data, std::strlen(data));
}

std::string LoadWordListText(int length) { return std::string(StoredWordListText(length)); }

}  // namespace lexigrove
