#include "Resources.h"

#include <string_view>

namespace lexigrove {

// Supplied by the generated data library.
extern const EmbeddedResource kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;

namespace {

const EmbeddedResource* Find(std::string_view type, int id) {
    for (std::size_t i = 0; i < kEmbeddedResourceCount; ++i) {
        const EmbeddedResource& r = kEmbeddedResources[i];
        if (r.id == id && type == r.type) return &r;
    }
    return nullptr;
}

}  // namespace

const char* FindResource(std::string_view type, int id) {
    const EmbeddedResource* r = Find(type, id);
    return r != nullptr ? r->data : nullptr;
}

// The stored text ends at its first NUL, which the build found: a search
// does not look for it through the list.
std::string_view StoredWordListText(int length) {
    const EmbeddedResource* r = Find("DICT", length);
    return r != nullptr ? std::string_view(r->data, r->textSize) : std::string_view();
}

std::string LoadWordListText(int length) { return std::string(StoredWordListText(length)); }

}  // namespace lexigrove
