#include "host/gdi.h"

#include "host/zgelm.h"

CGdiObject::~CGdiObject() = default;

int CGdiObject::DeleteObject() {
  if (!created_ || stock_ >= 0) return 0;
  created_ = 0;
  return 1;
}

CPen::CPen(int style, int width, COLORREF color) : CGdiObject(kPen) {
  CreatePen(style, width, color);
}

CPen::~CPen() = default;

int CPen::CreatePen(int style, int width, COLORREF color) {
  style_ = style;
  width_ = width;
  color_ = color;
  created_ = 1;
  return 1;
}

CBrush::CBrush(COLORREF color) : CGdiObject(kBrush) {
  CreateSolidBrush(color);
}

CBrush::~CBrush() = default;

int CBrush::CreateSolidBrush(COLORREF color) {
  color_ = color;
  hollow_ = 0;
  created_ = 1;
  return 1;
}

CGdiObject* CDC::GetStockObject(int index) {
  // Made once and never freed: device contexts of any lifetime hand them out.
  static CGdiObject** table = [] {
    static CGdiObject* objects[NULL_PEN + 1];
    const COLORREF brushColors[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                    RGB(64, 64, 64),    RGB(0, 0, 0),       RGB(0, 0, 0)};
    for (int i = WHITE_BRUSH; i <= NULL_BRUSH; ++i) {
      CBrush* brush = new CBrush(brushColors[i]);
      brush->hollow_ = i == NULL_BRUSH;
      objects[i] = brush;
    }
    objects[WHITE_PEN] = new CPen(PS_SOLID, 1, RGB(255, 255, 255));
    objects[BLACK_PEN] = new CPen(PS_SOLID, 1, RGB(0, 0, 0));
    objects[NULL_PEN] = new CPen(PS_NULL, 1, RGB(0, 0, 0));
    for (int i = 0; i <= NULL_PEN; ++i) objects[i]->stock_ = i;
    return objects;
  }();
  return index >= 0 && index <= NULL_PEN ? table[index] : nullptr;
}

CDC::CDC()
    : pen_(static_cast<CPen*>(GetStockObject(BLACK_PEN))),
      brush_(static_cast<CBrush*>(GetStockObject(WHITE_BRUSH))) {}

CDC::~CDC() = default;

CPen* CDC::SelectObject(CPen* pen) {
  if (!pen) return nullptr;
  CPen* old = pen_;
  pen_ = pen;
  Record(Event::kSelectPen, pen);
  return old;
}

CBrush* CDC::SelectObject(CBrush* brush) {
  if (!brush) return nullptr;
  CBrush* old = brush_;
  brush_ = brush;
  Record(Event::kSelectBrush, brush);
  return old;
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
  if (!object) return nullptr;
  if (object->GetKind() == CGdiObject::kPen) return SelectObject(static_cast<CPen*>(object));
  return SelectObject(static_cast<CBrush*>(object));
}

CGdiObject* CDC::SelectStockObject(int index) {
  CGdiObject* stock = GetStockObject(index);
  return stock ? SelectObject(stock) : nullptr;
}

void CDC::Record(Event::Kind kind, const CGdiObject* object) {
  Event event{kind, object, pen_->style_, pen_->width_, pen_->color_, brush_->hollow_, nullptr, Matrix()};
  events_.push_back(event);
}

void CDC::RecordDraw(const ZGElm& element, const Matrix& matrix) {
  Record(Event::kDraw, nullptr);
  events_.back().element = &element;
  events_.back().matrix = matrix;
}

int CDC::GetDrawCount() const {
  int count = 0;
  for (const Event& event : events_) count += event.kind == Event::kDraw;
  return count;
}
