// The contour attribute of a figure and the elevation of its contour record, kept in step.
//
// The elevation belongs to the record; the attribute carries it as text:
// - attaching a figure with a contour attribute to a contour record sets the record's
//   elevation from the value, converted to metres from the attribute's unit;
// - the consistency pass rewrites a metre value written as one plain number from the
//   elevation, keeping its number of decimals, and stores it as a length contour again;
// - a new contour record, and an elevated one bound without a contour attribute, are given one
//   that carries the elevation.
// Records of other kinds are never touched.
#pragma once

#include "model/figure.h"
#include "platform/cstring.h"

class CSxfAttrList;
class ZCdbRecBase;

// Sets rec's elevation from fig's contour attribute, when rec is a contour record and fig has
// one. The unit conversion's result is not looked at: an unknown unit leaves the number as
// written.
void StoreContourElevation(ZCdbRecBase* rec, const SxfZCdbFigure& fig, const CSxfAttrList& units);

// Rewrites fig's contour value from rec's elevation, when rec is an elevated contour record and
// the value is a metre (or unit-less) value with no blank; the attribute is then stored through
// SetContour, which makes it a length contour ("LEN", kind 10) named as contours are.
void RefreshContourValue(ZCdbRecBase* rec, SxfZCdbFigure& fig);

// The figure a newly created contour record gets: a contour attribute with no figure name whose
// value is the elevation with four decimals (0 for a record without one), in metres.
SxfZCdbFigure NewContourFigure(ZCdbRecBase* rec);

// For a record being bound: true and the elevation as text when rec is an elevated contour
// record, which then needs a contour attribute unless its figure has one.
bool ContourElevationText(ZCdbRecBase* rec, CString& elevation);
