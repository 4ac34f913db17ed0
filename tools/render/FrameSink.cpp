#include "FrameSink.h"

namespace vtool {

std::unique_ptr<FrameSink> MakeSink(const OutputPlan& plan, const FrameFormat& format,
                                    FILE* standardOutput) {
  switch (plan.kind) {
    case OutputKind::kPng:
      return MakePngSink(plan.path, format);
    case OutputKind::kPngSequence:
      return MakePngSequenceSink(plan.path, format);
    case OutputKind::kGif:
      return MakeGifSink(plan.path, format);
    case OutputKind::kRaw:
      return MakeRawSink(plan.path, format, standardOutput);
    case OutputKind::kY4m:
      return MakeY4mSink(plan.path, format, standardOutput);
  }
  return nullptr;
}

}  // namespace vtool
