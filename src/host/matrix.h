// Matrix: a two-dimensional affine transform, as the host's drawing library uses it.
//
// Points are row vectors: (x', y') = (x, y) * [m11 m12; m21 m22] + (dx, dy). Composition follows
// that order, so after `a *= b` the matrix a applies the old a first and then b; a group's
// virtual matrix combined with a view matrix is therefore `Matrix m(group); m *= view;`.
// A default-constructed matrix is the identity.
#pragma once

#include "platform/visibility.h"

class SXF_HOST_API Matrix {
 public:
  Matrix() = default;
  Matrix(double m11, double m12, double m21, double m22, double dx, double dy)
      : m11_(m11), m12_(m12), m21_(m21), m22_(m22), dx_(dx), dy_(dy) {}
  Matrix(const Matrix&) = default;
  Matrix& operator=(const Matrix&) = default;

  static Matrix Translation(double dx, double dy) { return Matrix(1, 0, 0, 1, dx, dy); }
  static Matrix Scaling(double sx, double sy) { return Matrix(sx, 0, 0, sy, 0, 0); }
  // Counter-clockwise rotation by an angle in degrees.
  static Matrix Rotation(double degrees);

  // Appends other: the result applies this matrix first, then other.
  Matrix& operator*=(const Matrix& other);

  void Apply(double x, double y, double* outX, double* outY) const;
  int IsIdentity() const;

  double m11() const { return m11_; }
  double m12() const { return m12_; }
  double m21() const { return m21_; }
  double m22() const { return m22_; }
  double dx() const { return dx_; }
  double dy() const { return dy_; }

  // Exact comparison of all six coefficients.
  bool operator==(const Matrix& other) const;
  bool operator!=(const Matrix& other) const { return !(*this == other); }

 private:
  double m11_ = 1, m12_ = 0, m21_ = 0, m22_ = 1, dx_ = 0, dy_ = 0;
};
