// ZCdbGrp: a group record (kind 4), a table whose records may be drawn through a virtual
// matrix of their own (a placed symbol, for instance).
#pragma once

#include <memory>

#include "host/matrix.h"
#include "host/zcdb_rec.h"
#include "platform/visibility.h"

class SXF_HOST_API ZCdbGrp : public ZCdbTblBase {
 public:
  ZCdbGrp() : ZCdbTblBase(ZCDB_KIND_GRP) {}
  ~ZCdbGrp() override;

  // The group's virtual matrix, or null when it has none.
  const Matrix* GetVirtualMatrix() const { return matrix_.get(); }
  void SetVirtualMatrix(const Matrix& matrix) { matrix_.reset(new Matrix(matrix)); }
  void ClearVirtualMatrix() { matrix_.reset(); }

  ZCdbRecBase* CloneSelf() const override;

 private:
  std::unique_ptr<Matrix> matrix_;
};
