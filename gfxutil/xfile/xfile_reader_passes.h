#pragma once

#include "gfxutil/xfile/xfile.h"

namespace tetrakon {

// Gives each data value the kind its template member declares: a whole number written
// for a FLOAT member becomes a float, so text and binary files give the same tree. Objects
// whose template is unknown or whose values do not fit their template keep what was read.
void TypeXValuesByTemplate(XFile* file);

// Points every reference at the object it names: by GUID when one is given and matches,
// else by name; the first such object in file order wins, and inside a MeshMaterialList
// an object of type Material is preferred over other types of the same name. References
// to nothing stay unresolved.
void ResolveXReferences(XFile* file);

}  // namespace tetrakon
