// How `diff` shows the changes of section_diff.h.
//
// Text: one line per change, "<where>: <what>". where is "title", a set definition
// ("set definition "2" ("標識")") or a figure's handle and name followed by the path to the change,
// each step joined by " > ": a set reference with its definition's name, a group, an attribute
// ("target" for a target attribute; "#2" marks the second of that name), the user attribute, the
// stub, the contour or the image. what is "<field> changed from <old> to <new>", with targets
// shown as handles, or "added"/"removed" with the item; an added or removed figure or group is
// followed by its content, indented as `dump` shows it. Names come from B where B has them.
//
// JSON: one object per change and line:
//   {"change": "changed" | "added" | "removed", "what": "title" | "setDefinition" | "figure",
//    "id": S (setDefinition) | "handle": n, "path": [STEP, ...] (figure),
//    "field": name, "old": V, "new": V (changed) | "new": ITEM (added) | "old": ITEM (removed)}
//   STEP = {"node": "setRef" | "group" | "attr", "name": S, "index": n}
//        | {"node": "userAttr" | "stub" | "contour" | "image"}
// field is the member name of the JSON document; V is a text S as the document writes it, or a
// number; ITEM is the document's object of what was added or removed (FIGURE, a set definition,
// GROUP, ATRU or ATRS). "index" counts the earlier siblings of the same name.
#pragma once

#include <ostream>
#include <vector>

#include "section_diff.h"

void WriteDiffText(std::ostream& out, const std::vector<DiffChange>& changes, const SectionContent& a,
                   const SectionContent& b);
void WriteDiffJson(std::ostream& out, const std::vector<DiffChange>& changes);
