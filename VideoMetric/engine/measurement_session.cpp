#include "vidmetra/measurement_session.h"

#include "vidmetra/decoder_threads.h"

namespace vidmetra {

MeasurementSession::MeasurementSession(const MetricCatalogue& catalogue, int32_t metric_index, int threads)
    : pool_(threads), files_(&pool_), preparer_(catalogue, metric_index) {
  // Decoders run threads of their own inside libavcodec; they get as many as the run was given.
  SetDecoderThreadCount(pool_.Threads());
  context_.catalogue = &catalogue;
  context_.preparer = &preparer_;
  context_.opener = &files_;
  context_.pool = &pool_;
}

}  // namespace vidmetra
