#pragma once
// The keys that open the shell's start menu, as Explorer's open its own: the Windows key pressed
// and released alone, and Ctrl+Esc. The Windows key together with another key (Win+D, Win+E,
// Win+R, ...) stays the system's. A low-level keyboard hook of the UI thread watches every key
// press of the session, so it decides from a few flags and returns at once; the menu itself
// opens from the message it posts. UI thread only.
#include <windows.h>


// What to do with one key event: the decision table, without the hook.
class StartKeys {
 public:
  struct Event {
    DWORD key = 0;      // virtual key
    bool down = false;  // pressed (also when repeated while held) or released
    bool ours = false;  // made by the shell itself (see kOurInput)
  };
  struct Decision {
    bool swallow = false;     // the system and the programs never see the event
    bool mask = false;        // send a key that means nothing, then the Windows key's release
    bool toggleMenu = false;  // open the start menu, or close it when it is open
  };

  // The key the shell sends between the Windows key's press and release when it takes the
  // press for itself: an unassigned virtual key, so that the system sees the Windows key used
  // with another key and leaves its own start menu shut.
  static constexpr WORD kMaskKey = 0xE8;
  // Marks the input the shell sends itself.
  static constexpr ULONG_PTR kOurInput = 0x5A45534B;

  Decision Decide(const Event& event);

 private:
  // The modifiers are followed from the events themselves: the system's own key state is not
  // yet up to date for every event a hook sees. One bit per key (left, right, either).
  bool Held(unsigned modifier) const { return (held_ & modifier) != 0; }
  void Follow(const Event& event);

  unsigned held_ = 0;      // Ctrl, Shift, Alt keys held
  bool winDown_ = false;   // a Windows key is held
  bool winAlone_ = false;  // ... and nothing else was pressed with it
  bool escTaken_ = false;  // Ctrl+Esc was taken: its repeats and release are the shell's too
};

// The hook: installed for the life of the object (or until Remove), it posts `message` to
// `target` when the start menu should open or close. One per process.
class StartKeyHook {
 public:
  StartKeyHook() = default;
  ~StartKeyHook() { Remove(); }
  StartKeyHook(const StartKeyHook&) = delete;
  StartKeyHook& operator=(const StartKeyHook&) = delete;

  // False when the system refused the hook or another one is installed (the keys then do what
  // the system makes them do).
  bool Install(HWND target, UINT message);
  void Remove();
  bool Installed() const;

  // For the crash handler: the hook goes, whatever object holds it. Safe on any thread.
  static void RemoveAfterCrash();

 private:
  static LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam);
  HHOOK mine_ = nullptr;
};
