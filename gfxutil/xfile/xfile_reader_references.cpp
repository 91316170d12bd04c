#include <string_view>
#include <unordered_map>

#include "gfxutil/xfile/xfile_reader_passes.h"

namespace tetrakon {
namespace {

// Every object by GUID and by name, first in file order, so that each reference is one
// lookup however many objects and references the file holds.
class ObjectIndex {
  public:
    void Add(const XDataObject* object) {
        if (!object->guid.empty())
            byGuid_.try_emplace(object->guid, object);
        if (!object->name.empty()) {
            Named& named = byName_[object->name];
            if (named.first == nullptr)
                named.first = object;
            if (named.firstMaterial == nullptr && object->templateName == "Material")
                named.firstMaterial = object;
        }
        for (const XChild& child : object->children) {
            if (child.object)
                Add(child.object.get());
        }
    }

    const XDataObject* Find(const XChild& reference, bool preferMaterial) const {
        if (!reference.referenceGuid.empty()) {
            if (const auto it = byGuid_.find(reference.referenceGuid); it != byGuid_.end())
                return it->second;
        }
        if (reference.referenceName.empty())
            return nullptr;
        const auto it = byName_.find(reference.referenceName);
        if (it == byName_.end())
            return nullptr;
        if (preferMaterial && it->second.firstMaterial != nullptr)
            return it->second.firstMaterial;
        return it->second.first;
    }

  private:
    struct Named {
        const XDataObject* first = nullptr;
        const XDataObject* firstMaterial = nullptr;
    };
    // Keys view the objects' own strings, which outlive the index.
    std::unordered_map<std::string_view, const XDataObject*> byGuid_;
    std::unordered_map<std::string_view, Named> byName_;
};

void Resolve(const ObjectIndex& index, XDataObject* object) {
    const bool preferMaterial = object->templateName == "MeshMaterialList";
    for (XChild& child : object->children) {
        if (child.object) {
            Resolve(index, child.object.get());
        } else {
            child.resolved = index.Find(child, preferMaterial);
        }
    }
}

}  // namespace

void ResolveXReferences(XFile* file) {
    ObjectIndex index;
    for (const auto& object : file->objects)
        index.Add(object.get());
    for (auto& object : file->objects)
        Resolve(index, object.get());
}

}  // namespace tetrakon
