#include "dialog_run_sink.h"

namespace vidmetra::ui {

template <typename Call>
void DialogRunSink::OnDialog(Call call) {
  QMetaObject::invokeMethod(dialog_.data(), call, Qt::BlockingQueuedConnection);
}

void DialogRunSink::Begin(int32_t metric_index, const std::vector<std::string>& paths, int32_t component) {
  AddLine(TimeStampNow() + " : " + MeasuringLine(catalogue_.Title(metric_index), paths, component));
}

void DialogRunSink::SetMinimum(int32_t value) {
  minimum_ = value;
  OnDialog([this, minimum = minimum_, maximum = maximum_] { dialog_->SetRange(minimum, maximum); });
}

void DialogRunSink::SetMaximum(int32_t value) {
  maximum_ = value;
  OnDialog([this, minimum = minimum_, maximum = maximum_] { dialog_->SetRange(minimum, maximum); });
}

void DialogRunSink::SetPosition(int32_t value) {
  OnDialog([this, value] { dialog_->SetPosition(value); });
}

void DialogRunSink::Finish() {
  OnDialog([this, minimum = minimum_] { dialog_->ShowFinished(minimum); });
}

void DialogRunSink::AddLine(const std::string& line) {
  OnDialog([this, text = QString::fromStdString(line)] { dialog_->AddLine(text); });
}

}  // namespace vidmetra::ui
