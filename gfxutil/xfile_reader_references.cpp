#include <string_view>
#include <vector>

#include "gfxutil/xfile_reader_passes.h"

namespace tetrakon {
namespace {

void ListObjects(const XDataObject* object, std::vector<const XDataObject*>* all) {
    all->push_back(object);
    for (const XChild& child : object->children) {
        if (child.object)
            ListObjects(child.object.get(), all);
    }
}

const XDataObject* Find(const std::vector<const XDataObject*>& all, const XChild& reference,
                        std::string_view preferredType) {
    if (!reference.referenceGuid.empty()) {
        for (const XDataObject* object : all) {
            if (object->guid == reference.referenceGuid)
                return object;
        }
    }
    if (reference.referenceName.empty())
        return nullptr;
    const XDataObject* first = nullptr;
    for (const XDataObject* object : all) {
        if (object->name != reference.referenceName)
            continue;
        if (preferredType.empty() || object->templateName == preferredType)
            return object;
        if (first == nullptr)
            first = object;
    }
    return first;
}

void Resolve(const std::vector<const XDataObject*>& all, XDataObject* object) {
    const std::string_view preferredType =
        object->templateName == "MeshMaterialList" ? "Material" : "";
    for (XChild& child : object->children) {
        if (child.object) {
            Resolve(all, child.object.get());
        } else {
            child.resolved = Find(all, child, preferredType);
        }
    }
}

}  // namespace

void ResolveXReferences(XFile* file) {
    std::vector<const XDataObject*> all;
    for (const auto& object : file->objects)
        ListObjects(object.get(), &all);
    for (auto& object : file->objects)
        Resolve(all, object.get());
}

}  // namespace tetrakon
