#include "platform/input/sdl_joystick.h"

#include <SDL.h>

#include <array>
#include <utility>

namespace platform {
namespace {

constexpr std::uint32_t kAxisMax = 65535;

std::uint32_t axisToUnsigned(Sint16 value) {
  return static_cast<std::uint32_t>(static_cast<int>(value) + 32768);
}

// Triggers report 0..32767.
std::uint32_t triggerToUnsigned(Sint16 value) {
  return value <= 0 ? 0 : static_cast<std::uint32_t>(value) * kAxisMax / 32767;
}

// Controller buttons in the order they take bits of the button word; the
// d-pad is missing because it moves the axes instead.
constexpr std::array kControllerButtonBits = {
    SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_LEFTSTICK,
    SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_GUIDE,
    SDL_CONTROLLER_BUTTON_MISC1,
    SDL_CONTROLLER_BUTTON_PADDLE1,
    SDL_CONTROLLER_BUTTON_PADDLE2,
    SDL_CONTROLLER_BUTTON_PADDLE3,
    SDL_CONTROLLER_BUTTON_PADDLE4,
    SDL_CONTROLLER_BUTTON_TOUCHPAD,
};

void applyDirections(bool left, bool right, bool up, bool down, JoystickPos& pos) {
  if (left && !right) pos.wXpos = 0;
  if (right && !left) pos.wXpos = kAxisMax;
  if (up && !down) pos.wYpos = 0;
  if (down && !up) pos.wYpos = kAxisMax;
}

}  // namespace

struct SdlJoystick::Device {
  SDL_GameController* controller = nullptr;
  SDL_Joystick* joystick = nullptr;  // the controller's own when controller is set

  ~Device() {
    if (controller) {
      SDL_GameControllerClose(controller);
    } else if (joystick) {
      SDL_JoystickClose(joystick);
    }
  }

  bool Attached() const {
    return controller ? SDL_GameControllerGetAttached(controller) == SDL_TRUE
                      : SDL_JoystickGetAttached(joystick) == SDL_TRUE;
  }

  void Read(JoystickPos& pos) const {
    JoystickPos next;
    if (controller) {
      next.wXpos = axisToUnsigned(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX));
      next.wYpos = axisToUnsigned(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY));
      next.wZpos = triggerToUnsigned(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
      for (std::size_t bit = 0; bit < kControllerButtonBits.size(); ++bit) {
        if (SDL_GameControllerGetButton(controller, kControllerButtonBits[bit])) next.wButtons |= 1u << bit;
      }
      applyDirections(SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_LEFT),
                      SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
                      SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_UP),
                      SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_DOWN), next);
    } else {
      // Missing axes rest in the middle, as an absent axis would read.
      const int axes = SDL_JoystickNumAxes(joystick);
      next.wXpos = axes > 0 ? axisToUnsigned(SDL_JoystickGetAxis(joystick, 0)) : 32768;
      next.wYpos = axes > 1 ? axisToUnsigned(SDL_JoystickGetAxis(joystick, 1)) : 32768;
      next.wZpos = axes > 2 ? axisToUnsigned(SDL_JoystickGetAxis(joystick, 2)) : 32768;
      const int buttons = SDL_JoystickNumButtons(joystick);
      for (int b = 0; b < buttons && b < 32; ++b) {
        if (SDL_JoystickGetButton(joystick, b)) next.wButtons |= 1u << b;
      }
      if (SDL_JoystickNumHats(joystick) > 0) {
        const Uint8 hat = SDL_JoystickGetHat(joystick, 0);
        applyDirections(hat & SDL_HAT_LEFT, hat & SDL_HAT_RIGHT, hat & SDL_HAT_UP, hat & SDL_HAT_DOWN, next);
      }
    }
    pos = next;
  }
};

SdlJoystick::SdlJoystick() {
  // The multimedia joystick answered whatever window had the focus.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  initialized_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) == 0;
}

SdlJoystick::~SdlJoystick() {
  device_.reset();
  if (initialized_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
}

bool SdlJoystick::Refresh() {
  if (!initialized_) return false;
  // Picks up new states and plugged or unplugged devices even when nobody
  // pumps the event queue.
  SDL_JoystickUpdate();
  if (device_ && !device_->Attached()) device_.reset();
  if (device_) return true;
  if (SDL_NumJoysticks() <= 0) return false;

  auto device = std::make_unique<Device>();
  if (SDL_IsGameController(0)) {
    device->controller = SDL_GameControllerOpen(0);
    if (device->controller) device->joystick = SDL_GameControllerGetJoystick(device->controller);
  }
  if (!device->controller) device->joystick = SDL_JoystickOpen(0);
  if (!device->joystick) return false;
  device_ = std::move(device);
  return true;
}

bool SdlJoystick::GetCaps(JoystickCaps& caps) {
  if (!Refresh()) return false;
  caps = JoystickCaps{0, kAxisMax, 0, kAxisMax};
  return true;
}

bool SdlJoystick::GetPos(JoystickPos& pos) {
  if (!Refresh()) return false;
  device_->Read(pos);
  return true;
}

bool SdlJoystick::Connected() const { return device_ != nullptr; }

bool SdlJoystick::IsGameController() const { return device_ && device_->controller; }

// ---------------------------------------------------------------------------

namespace {

int deviceIndexOf(SDL_JoystickID id) {
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (SDL_JoystickGetDeviceInstanceID(i) == id) return i;
  }
  return -1;
}

}  // namespace

VirtualSdlJoystick::VirtualSdlJoystick(int deviceIndex) : deviceIndex_(deviceIndex), handle_(nullptr) {
  if (deviceIndex_ < 0) return;
  handle_ = SDL_JoystickOpen(deviceIndex_);
  if (!handle_) {
    SDL_JoystickDetachVirtual(deviceIndex_);
    deviceIndex_ = -1;
  }
}

VirtualSdlJoystick VirtualSdlJoystick::Controller() {
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) return VirtualSdlJoystick(-1);
  SDL_VirtualJoystickDesc desc;
  SDL_zero(desc);
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
  desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
  desc.name = "Virtual controller";
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  if (index < 0) SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  return VirtualSdlJoystick(index);
}

VirtualSdlJoystick VirtualSdlJoystick::Plain(int axes, int buttons, int hats) {
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) return VirtualSdlJoystick(-1);
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, axes, buttons, hats);
  if (index < 0) SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
  return VirtualSdlJoystick(index);
}

VirtualSdlJoystick::VirtualSdlJoystick(VirtualSdlJoystick&& other) noexcept
    : deviceIndex_(std::exchange(other.deviceIndex_, -1)), handle_(std::exchange(other.handle_, nullptr)) {}

VirtualSdlJoystick::~VirtualSdlJoystick() {
  if (deviceIndex_ < 0) return;
  auto* joystick = static_cast<SDL_Joystick*>(handle_);
  const int index = deviceIndexOf(SDL_JoystickInstanceID(joystick));
  SDL_JoystickClose(joystick);
  if (index >= 0) SDL_JoystickDetachVirtual(index);
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
}

void VirtualSdlJoystick::SetAxis(int axis, std::int16_t value) {
  if (handle_) SDL_JoystickSetVirtualAxis(static_cast<SDL_Joystick*>(handle_), axis, value);
}

void VirtualSdlJoystick::SetButton(int button, bool pressed) {
  if (handle_) SDL_JoystickSetVirtualButton(static_cast<SDL_Joystick*>(handle_), button, pressed ? 1 : 0);
}

void VirtualSdlJoystick::SetHat(int hat, int bits) {
  if (handle_) SDL_JoystickSetVirtualHat(static_cast<SDL_Joystick*>(handle_), hat, static_cast<Uint8>(bits));
}

}  // namespace platform
