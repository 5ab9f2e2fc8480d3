#include "section_diff.h"

#include <map>
#include <utility>

#include "model/atrf.h"
#include "model/attr_grp.h"
#include "model/attr_set_ref.h"

namespace {

DiffValue Text(const CString& text) {
  DiffValue value;
  value.text = text;
  return value;
}

DiffValue Number(long long number) {
  DiffValue value;
  value.isText = false;
  value.number = number;
  return value;
}

// The occurrence of each name among a list of siblings: the n-th sibling called x gets n.
template <typename NameOf>
std::vector<std::pair<std::string, int>> Keys(int count, NameOf nameOf) {
  std::map<std::string, int> seen;
  std::vector<std::pair<std::string, int>> keys;
  keys.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const std::string name = nameOf(i);
    keys.emplace_back(name, seen[name]++);
  }
  return keys;
}

// Pairs two sibling lists by key. Calls both(i, j) for each pair and onlyA(i) for an unpaired
// item of a, in a's order, then onlyB(j) for the unpaired items of b in b's order.
template <typename Both, typename OnlyA, typename OnlyB>
void Pair(const std::vector<std::pair<std::string, int>>& a,
          const std::vector<std::pair<std::string, int>>& b, Both both, OnlyA onlyA, OnlyB onlyB) {
  std::map<std::pair<std::string, int>, size_t> inB;
  for (size_t j = 0; j < b.size(); ++j) inB.emplace(b[j], j);
  std::vector<bool> paired(b.size(), false);
  for (size_t i = 0; i < a.size(); ++i) {
    const auto it = inB.find(a[i]);
    if (it == inB.end()) {
      onlyA(i);
    } else {
      paired[it->second] = true;
      both(i, it->second);
    }
  }
  for (size_t j = 0; j < b.size(); ++j) {
    if (!paired[j]) onlyB(j);
  }
}

class Differ {
 public:
  explicit Differ(std::vector<DiffChange>& out) : out_(out) {}

  void Title(const SxfTitleInfo& a, const SxfTitleInfo& b) {
    Start(DiffChange::kTitle);
    const std::pair<const char*, CString SxfTitleInfo::*> texts[] = {
        {"projectName", &SxfTitleInfo::projectName},
        {"constructionName", &SxfTitleInfo::constructionName},
        {"contractClass", &SxfTitleInfo::contractClass},
        {"drawingName", &SxfTitleInfo::drawingName},
        {"drawingNumber", &SxfTitleInfo::drawingNumber},
        {"drawingType", &SxfTitleInfo::drawingType},
        {"scale", &SxfTitleInfo::scale},
    };
    for (const auto& [field, member] : texts) TextField(field, a.*member, b.*member);
    NumberField("year", a.year, b.year);
    NumberField("month", a.month, b.month);
    NumberField("day", a.day, b.day);
    TextField("companyName", a.companyName, b.companyName);
    TextField("officeName", a.officeName, b.officeName);
  }

  void SetDefinitions(const std::vector<SxfZCdbAttrSetDef>& a, const std::vector<SxfZCdbAttrSetDef>& b) {
    // Ids are unique within a registry, so the occurrence is always 0.
    auto keys = [](const std::vector<SxfZCdbAttrSetDef>& defs) {
      return Keys(static_cast<int>(defs.size()),
                  [&](int i) { return defs[static_cast<size_t>(i)].id.str(); });
    };
    Pair(
        keys(a), keys(b),
        [&](size_t i, size_t j) {
          Start(DiffChange::kSetDefinition);
          id_ = b[j].id;
          TextField("name", a[i].name, b[j].name);
          TextField("version", a[i].version, b[j].version);
          TextField("designer", a[i].designer, b[j].designer);
        },
        [&](size_t i) { AddOrRemoveSetDefinition(DiffChange::kRemoved, a[i]); },
        [&](size_t j) { AddOrRemoveSetDefinition(DiffChange::kAdded, b[j]); });
  }

  // Both lists ascend by handle.
  void Figures(const std::vector<FigureRef>& a, const std::vector<FigureRef>& b) {
    size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
      if (j == b.size() || (i < a.size() && a[i].handle < b[j].handle)) {
        AddOrRemoveFigure(DiffChange::kRemoved, a[i++]);
      } else if (i == a.size() || b[j].handle < a[i].handle) {
        AddOrRemoveFigure(DiffChange::kAdded, b[j++]);
      } else {
        Figure(a[i++], b[j++]);
      }
    }
  }

 private:
  // Sets what the following changes belong to.
  void Start(DiffChange::What what, DWORD handle = 0) {
    what_ = what;
    handle_ = handle;
    id_ = CString();
    path_.clear();
  }

  DiffChange& Push(DiffChange::Kind kind) {
    DiffChange change;
    change.kind = kind;
    change.what = what_;
    change.handle = handle_;
    change.id = id_;
    change.path = path_;
    out_.push_back(std::move(change));
    return out_.back();
  }

  void Field(const char* field, const DiffValue& a, const DiffValue& b) {
    DiffChange& change = Push(DiffChange::kChanged);
    change.field = field;
    change.oldValue = a;
    change.newValue = b;
  }

  void TextField(const char* field, const CString& a, const CString& b) {
    if (a != b) Field(field, Text(a), Text(b));
  }

  void NumberField(const char* field, long long a, long long b) {
    if (a != b) Field(field, Number(a), Number(b));
  }

  void AddOrRemoveSetDefinition(DiffChange::Kind kind, const SxfZCdbAttrSetDef& def) {
    Start(DiffChange::kSetDefinition);
    id_ = def.id;
    Push(kind).setDefinition = &def;
  }

  void AddOrRemoveFigure(DiffChange::Kind kind, const FigureRef& ref) {
    Start(DiffChange::kFigure, ref.handle);
    Push(kind).figure = &ref;
  }

  void Figure(const FigureRef& a, const FigureRef& b) {
    Start(DiffChange::kFigure, a.handle);
    const SxfZCdbFigure& fa = *a.figure;
    const SxfZCdbFigure& fb = *b.figure;
    TextField("name", fa.name, fb.name);
    NumberField("attrType", fa.GetAttrType(), fb.GetAttrType());
    MainAttr(fa, fb);
    Slot(DiffStep::kContour, fa.contour, fb.contour);
    Slot(DiffStep::kImage, fa.image, fb.image);
  }

  // The main attribute as the attribute type says it should be, as the document shows it.
  struct Main {
    const SxfZCdbATRF* atrf = nullptr;
    const SxfZCdbATRU* atru = nullptr;
    const SxfZCdbATRS* atrs = nullptr;
  };

  static Main MainOf(const SxfZCdbFigure& fig) {
    Main main;
    switch (fig.GetAttrType()) {
      case SXF_ATTR_ATRF:
        main.atrf = fig.ATRF_GetAttr();
        break;
      case SXF_ATTR_ATRU:
        main.atru = fig.ATRU_GetAttr();
        break;
      case SXF_ATTR_ATRS:
        main.atrs = fig.ATRS_GetAttr();
        break;
      default:
        break;
    }
    return main;
  }

  void MainAttr(const SxfZCdbFigure& fa, const SxfZCdbFigure& fb) {
    const Main a = MainOf(fa);
    const Main b = MainOf(fb);
    SetRefs(a.atrf, b.atrf);
    Slot(DiffStep::kUserAttr, a.atru, b.atru);
    if (a.atrs != nullptr && b.atrs != nullptr) {
      Enter(DiffStep::kStub);
      Atrs(*a.atrs, *b.atrs, true);
      Leave();
    } else if (a.atrs != nullptr || b.atrs != nullptr) {
      Enter(DiffStep::kStub);
      Push(a.atrs != nullptr ? DiffChange::kRemoved : DiffChange::kAdded).atrs =
          a.atrs != nullptr ? a.atrs : b.atrs;
      Leave();
    }
  }

  // A missing attribute-file block holds no set reference.
  void SetRefs(const SxfZCdbATRF* a, const SxfZCdbATRF* b) {
    auto count = [](const SxfZCdbATRF* atrf) { return atrf != nullptr ? atrf->GetAttrSetRefCnt() : 0; };
    // The readers never store a null reference; one would pair as an empty RefId.
    auto ref = [](const SxfZCdbATRF* atrf, size_t i) { return atrf->GetAttrSetRefData(static_cast<int>(i)); };
    auto keys = [&](const SxfZCdbATRF* atrf) {
      return Keys(count(atrf), [&](int i) {
        const SxfZCdbAttrSetRef* r = ref(atrf, static_cast<size_t>(i));
        return r != nullptr ? std::string(r->GetRefId()) : std::string();
      });
    };
    const auto ka = keys(a);
    const auto kb = keys(b);
    Pair(
        ka, kb,
        [&](size_t i, size_t j) {
          Enter(DiffStep::kSetRef, ka[i]);
          Group(ref(a, i), ref(b, j));
          Leave();
        },
        [&](size_t i) { AddOrRemoveGroup(DiffChange::kRemoved, DiffStep::kSetRef, ka[i], ref(a, i)); },
        [&](size_t j) { AddOrRemoveGroup(DiffChange::kAdded, DiffStep::kSetRef, kb[j], ref(b, j)); });
  }

  void AddOrRemoveGroup(DiffChange::Kind kind, DiffStep::Node node, const std::pair<std::string, int>& key,
                        const SxfZCdbAttrGrp* group) {
    if (group == nullptr) return;
    Enter(node, key);
    Push(kind).group = group;
    Leave();
  }

  void Group(const SxfZCdbAttrGrp* a, const SxfZCdbAttrGrp* b) {
    if (a == nullptr || b == nullptr) return;
    auto attrKeys = [](const SxfZCdbAttrGrp* g) {
      return Keys(g->GetAttrCnt(), [&](int i) { return std::string(g->GetAttrData(i)->name.str()); });
    };
    const auto ka = attrKeys(a);
    const auto kb = attrKeys(b);
    auto attr = [](const SxfZCdbAttrGrp* g, size_t i) { return g->GetAttrData(static_cast<int>(i)); };
    Pair(
        ka, kb,
        [&](size_t i, size_t j) {
          Enter(DiffStep::kAttr, ka[i]);
          Atru(*attr(a, i), *attr(b, j), false);
          Leave();
        },
        [&](size_t i) { AddOrRemoveAttr(DiffChange::kRemoved, ka[i], attr(a, i)); },
        [&](size_t j) { AddOrRemoveAttr(DiffChange::kAdded, kb[j], attr(b, j)); });

    auto groupKeys = [](const SxfZCdbAttrGrp* g) {
      return Keys(g->GetAttrGrpCnt(), [&](int i) {
        const SxfZCdbAttrGrp* sub = g->GetAttrGrpData(i);
        return sub != nullptr ? std::string(sub->GetName()) : std::string();
      });
    };
    const auto ga = groupKeys(a);
    const auto gb = groupKeys(b);
    auto sub = [](const SxfZCdbAttrGrp* g, size_t i) { return g->GetAttrGrpData(static_cast<int>(i)); };
    Pair(
        ga, gb,
        [&](size_t i, size_t j) {
          Enter(DiffStep::kGroup, ga[i]);
          Group(sub(a, i), sub(b, j));
          Leave();
        },
        [&](size_t i) { AddOrRemoveGroup(DiffChange::kRemoved, DiffStep::kGroup, ga[i], sub(a, i)); },
        [&](size_t j) { AddOrRemoveGroup(DiffChange::kAdded, DiffStep::kGroup, gb[j], sub(b, j)); });
  }

  void AddOrRemoveAttr(DiffChange::Kind kind, const std::pair<std::string, int>& key,
                       const SxfZCdbATRU* atru) {
    Enter(DiffStep::kAttr, key);
    Push(kind).atru = atru;
    Leave();
  }

  // A user attribute, contour or image slot: compared when both hold one, else added or removed.
  void Slot(DiffStep::Node node, const SxfZCdbATRU* a, const SxfZCdbATRU* b) {
    if (a == nullptr && b == nullptr) return;
    Enter(node);
    if (a != nullptr && b != nullptr) {
      Atru(*a, *b, true);
    } else {
      Push(a != nullptr ? DiffChange::kRemoved : DiffChange::kAdded).atru = a != nullptr ? a : b;
    }
    Leave();
  }

  // withName: the name is a field here, not the key the two were paired by.
  void Atrs(const SxfZCdbATRS& a, const SxfZCdbATRS& b, bool withName) {
    if (withName) TextField("name", a.name, b.name);
    TextField("type", a.type, b.type);
    TextField("unit", a.unit, b.unit);
  }

  void Atru(const SxfZCdbATRU& a, const SxfZCdbATRU& b, bool withName) {
    Atrs(a, b, withName);
    NumberField("kind", a.kind, b.kind);
    TextField("value", a.value, b.value);
    TextField("zukeiName", a.zukeiName, b.zukeiName);
  }

  void Enter(DiffStep::Node node, const std::pair<std::string, int>& key = {}) {
    DiffStep step;
    step.node = node;
    step.name = CString(key.first);
    step.index = key.second;
    path_.push_back(std::move(step));
  }

  void Leave() { path_.pop_back(); }

  std::vector<DiffChange>& out_;
  DiffChange::What what_ = DiffChange::kTitle;
  DWORD handle_ = 0;
  CString id_;
  std::vector<DiffStep> path_;
};

}  // namespace

std::vector<DiffChange> DiffSections(const SectionContent& a, const SectionContent& b) {
  std::vector<DiffChange> changes;
  Differ differ(changes);
  differ.Title(a.title, b.title);
  differ.SetDefinitions(a.setDefinitions, b.setDefinitions);
  differ.Figures(a.figures, b.figures);
  return changes;
}
