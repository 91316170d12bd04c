#pragma once

// How the writers lay out a data object's flat value list: each value's primitive type and
// the separators that follow it, taken from the object's template so that the text form
// reads like a hand-written file and the binary form stores floats as floats.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "gfxutil/xfile/xfile.h"
#include "gfxutil/xfile/xfile_templates.h"

namespace tetrakon {

enum class XSlotType { Integer, Float, String };

struct XValueSlot {
    XSlotType type = XSlotType::Integer;
    std::string separators;  // ";" "," ";;" ... printed right after the value
    bool lineBreak = false;  // the text form starts a new line after this value
};

// One slot per value of the object, by the file's template of its type or the standard
// one. When the template is unknown or the values do not fit it, each value gets its own
// kind and a plain ";" after it, which reads back the same.
std::vector<XValueSlot> LayOutValues(const XDataObject& object, const XTemplateLookup& templates);

// The slot type a primitive template member type stores, or false for a template type.
bool PrimitiveSlotType(std::string_view typeName, XSlotType* type);

}  // namespace tetrakon
