// The graphic elements of the host's graphic data library: ZGElm and its kinds.
//
// An element record of the host database (ZCdbElm) owns one element. GetElmType tells the kind:
// 10 string figure (ZString), 11 text figure (ZText), 12 bitmap image (ZBitmap), 16 raster image
// (ZRaster) and 1 line (ZLine, standing for every other kind of figure). Clone makes an
// independent copy of the same kind, used when the host copies a record.
#pragma once

#include "platform/cstring.h"
#include "platform/visibility.h"

enum : int { ZGELM_LINE = 1, ZGELM_STRING = 10, ZGELM_TEXT = 11, ZGELM_BITMAP = 12, ZGELM_RASTER = 16 };

// A point in drawing coordinates.
class SXF_HOST_API GPt {
 public:
  GPt() = default;
  GPt(double x, double y) : x_(x), y_(y) {}
  double x() const { return x_; }
  double y() const { return y_; }
  int ix() const { return ToInt(x_); }
  int iy() const { return ToInt(y_); }

  // Rounds a coordinate to the nearest int, halves away from zero; values beyond the int range
  // give the nearest end of the range, and NaN gives 0.
  static int ToInt(double v);

 private:
  double x_ = 0;
  double y_ = 0;
};

// A point of a figure (the host keeps more per point; the plug-in only needs the coordinates).
class SXF_HOST_API ZPt {
 public:
  ZPt() = default;
  ZPt(double x, double y) : pt_(x, y) {}
  const GPt& gPt() const { return pt_; }

 private:
  GPt pt_;
};

class SXF_HOST_API ZGElm {
 public:
  virtual ~ZGElm();
  virtual int GetElmType() const = 0;
  virtual ZGElm* Clone() const = 0;
};

// A line from one point to another: the stand-in for every figure kind the plug-in does not
// look into.
class SXF_HOST_API ZLine : public ZGElm {
 public:
  ZLine(const ZPt& p1, const ZPt& p2) : p1_(p1), p2_(p2) {}
  int GetElmType() const override { return ZGELM_LINE; }
  ZGElm* Clone() const override { return new ZLine(*this); }
  const ZPt& Pt1() const { return p1_; }
  const ZPt& Pt2() const { return p2_; }

 private:
  ZPt p1_, p2_;
};

// A one-line string figure placed at its first point.
class SXF_HOST_API ZString : public ZGElm {
 public:
  ZString(const char* text, const ZPt& pt1) : text_(text), pt1_(pt1) {}
  int GetElmType() const override { return ZGELM_STRING; }
  ZGElm* Clone() const override { return new ZString(*this); }
  CString GetCString() const { return text_; }
  void SetCString(const char* text) { text_ = text; }
  const ZPt& Pt1() const { return pt1_; }
  void SetPt1(const ZPt& pt) { pt1_ = pt; }

 private:
  CString text_;
  ZPt pt1_;
};

// A text figure (a block of text, possibly several lines).
class SXF_HOST_API ZText : public ZGElm {
 public:
  explicit ZText(const char* text) : text_(text) {}
  int GetElmType() const override { return ZGELM_TEXT; }
  ZGElm* Clone() const override { return new ZText(*this); }
  CString GetCString() const { return text_; }
  void SetCString(const char* text) { text_ = text; }

 private:
  CString text_;
};

// A bitmap image made from an image file.
class SXF_HOST_API ZBitmap : public ZGElm {
 public:
  explicit ZBitmap(const char* orgFilePath) : path_(orgFilePath) {}
  int GetElmType() const override { return ZGELM_BITMAP; }
  ZGElm* Clone() const override { return new ZBitmap(*this); }
  // The path of the image file the element was made from, as the user gave it (often relative
  // to the application's environment).
  CString GetOrgFilePath() const { return path_; }

 private:
  CString path_;
};

// A raster image made from an image file.
class SXF_HOST_API ZRaster : public ZGElm {
 public:
  explicit ZRaster(const char* orgFilePath) : path_(orgFilePath) {}
  int GetElmType() const override { return ZGELM_RASTER; }
  ZGElm* Clone() const override { return new ZRaster(*this); }
  CString GetOrgFilePath() const { return path_; }

 private:
  CString path_;
};

class CDC;
class Matrix;

// Draws an element into a device context with a transform. The stand-in draws nothing: it
// records the element, the matrix and the pen and brush in force in the device context's
// event list (CDC::GetEvents).
SXF_HOST_API void ZGDraw(const ZGElm& element, CDC& dc, const Matrix& matrix);
