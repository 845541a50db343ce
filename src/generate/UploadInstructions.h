#pragma once

#include <QString>

struct GenerationContext;

// The plain-text upload instructions shown beside the embed code.
class UploadInstructions {
  public:
    static QString build(const GenerationContext& ctx);
};
