#include "host/matrix.h"

#include <cmath>

Matrix Matrix::Rotation(double degrees) {
  const double radians = degrees * std::acos(-1.0) / 180.0;
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  return Matrix(c, s, -s, c, 0, 0);
}

Matrix& Matrix::operator*=(const Matrix& b) {
  const Matrix a = *this;
  m11_ = a.m11_ * b.m11_ + a.m12_ * b.m21_;
  m12_ = a.m11_ * b.m12_ + a.m12_ * b.m22_;
  m21_ = a.m21_ * b.m11_ + a.m22_ * b.m21_;
  m22_ = a.m21_ * b.m12_ + a.m22_ * b.m22_;
  dx_ = a.dx_ * b.m11_ + a.dy_ * b.m21_ + b.dx_;
  dy_ = a.dx_ * b.m12_ + a.dy_ * b.m22_ + b.dy_;
  return *this;
}

void Matrix::Apply(double x, double y, double* outX, double* outY) const {
  const double nx = x * m11_ + y * m21_ + dx_;
  const double ny = x * m12_ + y * m22_ + dy_;
  if (outX) *outX = nx;
  if (outY) *outY = ny;
}

int Matrix::IsIdentity() const {
  return *this == Matrix();
}

bool Matrix::operator==(const Matrix& o) const {
  return m11_ == o.m11_ && m12_ == o.m12_ && m21_ == o.m21_ && m22_ == o.m22_ && dx_ == o.dx_ && dy_ == o.dy_;
}
