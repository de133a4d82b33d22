#include "platform/hosts/headless/headless_host.h"

namespace drawing::platform::headless {

HeadlessHost::HeadlessHost(HeadlessConfig config)
    : config_(std::move(config)),
      system_(config_.system),
      display_(config_.display, system_, faults_),
      windowing_(config_.windowing),
      direct3d_(display_, gdi_, config_.direct3d) {
  // The focus of the input devices and the activation of the screen window
  // are one thing: a scripted focus change is posted to the window, and a
  // window activated or deactivated by ShowWindow moves the focus.
  input_.SetFocusListener([this](bool focused) {
    if (!relayingFocus_) {
      windowing_.PostActivation(focused);
    }
  });
  windowing_.SetActivationListener([this](bool active) {
    relayingFocus_ = true;
    input_.SetFocus(active);
    relayingFocus_ = false;
  });

  for (const InputScriptEvent& scripted : config_.input) {
    if (scripted.frame <= 0) {
      input_.Apply(scripted.event);
    } else {
      input_.AddEvent(static_cast<uint32_t>(scripted.frame), scripted.event);
    }
  }
  ApplyFaults(0);
}

HeadlessHost::~HeadlessHost() {
  input_.SetFocusListener(nullptr);
  windowing_.SetActivationListener(nullptr);
}

platform::Platform HeadlessHost::GetPlatform() {
  return platform::Platform{system_, windowing_, direct3d_, gdi_, input_, files_};
}

void HeadlessHost::BeginFrame(int32_t frame) {
  frame_ = frame;
  display_.SetFrame(frame);
  ApplyFaults(frame);
  if (frame > 0) {
    input_.BeginFrame(static_cast<uint32_t>(frame));
  }
}

void HeadlessHost::ApplyFaults(int32_t frame) {
  for (const DeviceLossEvent& loss : config_.deviceLosses) {
    if (loss.frame == frame) {
      faults_.LoseDevice(system_.Now(), loss.lostForMs);
    }
  }
  for (const CooperativeCodesEvent& answers : config_.cooperativeCodes) {
    if (answers.frame == frame) {
      faults_.QueueCooperativeCodes(answers.codes);
    }
  }
  for (const CallFailureEvent& failure : config_.failures) {
    if (failure.frame == frame) {
      faults_.Fail(failure.call, failure.count, failure.result);
    }
  }
}

}  // namespace drawing::platform::headless
