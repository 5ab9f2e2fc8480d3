// CDC, CPen and CBrush: the part of MFC's drawing objects that area-control drawing uses.
//
// The device context draws nothing; it keeps its current pen and brush and records every
// selection and every element drawn into it, in call order, so tests can check what a drawing
// routine selected, drew and restored. A CDC starts with the stock black pen and the stock
// white brush selected. Stock objects live as long as the program; selecting an object does not
// transfer ownership.
#pragma once

#include <vector>

#include "host/matrix.h"
#include "platform/types.h"
#include "platform/visibility.h"

typedef DWORD COLORREF;
#define RGB(r, g, b)                                                                             \
  (static_cast<COLORREF>(static_cast<BYTE>(r) | (static_cast<WORD>(static_cast<BYTE>(g)) << 8) | \
                         (static_cast<DWORD>(static_cast<BYTE>(b)) << 16)))

// Pen styles and stock objects, with the Windows values.
enum : int { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_NULL = 5 };
enum : int {
  WHITE_BRUSH = 0,
  LTGRAY_BRUSH = 1,
  GRAY_BRUSH = 2,
  DKGRAY_BRUSH = 3,
  BLACK_BRUSH = 4,
  NULL_BRUSH = 5,
  HOLLOW_BRUSH = NULL_BRUSH,
  WHITE_PEN = 6,
  BLACK_PEN = 7,
  NULL_PEN = 8
};

class ZGElm;

class SXF_HOST_API CGdiObject {
 public:
  enum Kind { kPen, kBrush };
  virtual ~CGdiObject();
  Kind GetKind() const { return kind_; }
  // Non-zero while the object holds a created pen or brush (stock objects always do).
  int IsCreated() const { return created_; }
  // Releases the pen or brush; the object stays usable for a new Create call.
  int DeleteObject();
  // The stock index of a stock object, -1 for others.
  int GetStockIndex() const { return stock_; }

 protected:
  explicit CGdiObject(Kind kind) : kind_(kind) {}
  Kind kind_;
  int created_ = 0;
  int stock_ = -1;

 private:
  friend class CDC;
};

class SXF_HOST_API CPen : public CGdiObject {
 public:
  CPen() : CGdiObject(kPen) {}
  CPen(int style, int width, COLORREF color);
  ~CPen() override;
  int CreatePen(int style, int width, COLORREF color);
  int GetStyle() const { return style_; }
  int GetWidth() const { return width_; }
  COLORREF GetColor() const { return color_; }

 private:
  friend class CDC;
  int style_ = PS_SOLID;
  int width_ = 1;
  COLORREF color_ = 0;
};

class SXF_HOST_API CBrush : public CGdiObject {
 public:
  CBrush() : CGdiObject(kBrush) {}
  explicit CBrush(COLORREF color);
  ~CBrush() override;
  int CreateSolidBrush(COLORREF color);
  // Non-zero for the null (hollow) brush, which does not fill.
  int IsHollow() const { return hollow_; }
  COLORREF GetColor() const { return color_; }

 private:
  friend class CDC;
  int hollow_ = 0;
  COLORREF color_ = 0;
};

class SXF_HOST_API CDC {
 public:
  // One recorded call. For a selection, object is what was selected; the pen fields hold the
  // selected pen's style, width and color at that moment. For a drawing, element and matrix are
  // what was drawn, and the pen fields and hollow describe the pen and brush in force.
  struct Event {
    enum Kind { kSelectPen, kSelectBrush, kDraw } kind;
    const CGdiObject* object;
    int penStyle;
    int penWidth;
    COLORREF penColor;
    int hollowBrush;
    const ZGElm* element;
    Matrix matrix;
  };

  CDC();
  virtual ~CDC();

  // Select a pen or brush and return the one selected before (never null). Selecting null
  // changes nothing and returns null.
  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CGdiObject* SelectObject(CGdiObject* object);
  // Selects a stock pen or brush; returns the previously selected object of that kind, or null
  // for an unknown index.
  CGdiObject* SelectStockObject(int index);

  CPen* GetCurrentPen() const { return pen_; }
  CBrush* GetCurrentBrush() const { return brush_; }

  // Called by ZGDraw: records the element with the pen and brush in force.
  void RecordDraw(const ZGElm& element, const Matrix& matrix);

  const std::vector<Event>& GetEvents() const { return events_; }
  int GetDrawCount() const;
  void ClearEvents() { events_.clear(); }

  // The stock objects shared by every device context.
  static CGdiObject* GetStockObject(int index);

 private:
  void Record(Event::Kind kind, const CGdiObject* object);

  CPen* pen_;
  CBrush* brush_;
  std::vector<Event> events_;
};
