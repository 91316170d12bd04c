#pragma once

#include <QIODevice>

#include "gfxutil/picture_source.h"

namespace tetrakon {

// A read-only, seekable QIODevice over a PictureSource, so that Qt's image readers read a
// file only as far as they need.
class PictureSourceDevice : public QIODevice {
  public:
    explicit PictureSourceDevice(PictureSource* source) : source_(source) {}
    bool isSequential() const override { return false; }
    qint64 size() const override { return static_cast<qint64>(source_->Size()); }

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    PictureSource* source_;
};

}  // namespace tetrakon
