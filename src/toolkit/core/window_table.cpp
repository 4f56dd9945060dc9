#include "toolkit/core/window_table.h"

#include "toolkit/core/control.h"
#include "toolkit/core/host_window.h"

namespace zelvo::toolkit {

WindowTable& windowTable() {
  static WindowTable table;
  return table;
}

WindowRecord* windowRecord(int windowNumber) {
  WindowTable& table = windowTable();
  if (windowNumber < 1 || windowNumber > static_cast<int>(table.size())) return nullptr;
  return table[windowNumber - 1].get();
}

ControlRecord* controlRecord(int windowNumber, int position) {
  WindowRecord* window = windowRecord(windowNumber);
  if (!window || position < 1 || position > window->controlCount()) return nullptr;
  return &window->controls[position - 1];
}

int windowNumberOf(HWND hwnd) {
  if (!hwnd) return 0;
  WindowTable& table = windowTable();
  for (size_t i = 0; i < table.size(); ++i)
    if (table[i]->hwnd == hwnd) return static_cast<int>(i) + 1;
  return 0;
}

int positionOfId(int windowNumber, int controlId) {
  WindowRecord* window = windowRecord(windowNumber);
  if (!window) return 0;
  for (int p = 1; p <= window->controlCount(); ++p)
    if (window->controls[p - 1].id == controlId) return p;
  return 0;
}

int deliverMessage(int windowNumber, int position, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int direct,
                   bool force) {
  ControlRecord* record = controlRecord(windowNumber, position);
  if (!record || !record->object) return 0;
  Control* control = record->object;
  if (!force && (!(record->visible & 1) || !control->active())) return 0;
  const int result = control->handleMessage(control, hwnd, message, wParam, lParam, windowNumber, position, direct);
  // The handler may have removed or moved the control; only a control that
  // is still at this place gets its bound routine.
  record = controlRecord(windowNumber, position);
  if (!record || record->object != control) return result;
  if (const ControlEventHandler* handler = control->eventHandler(message)) {
    ControlEventHandler copy = *handler;  // the routine may rebind or destroy
    copy(windowNumber, position, wParam, lParam, direct);
  }
  return result;
}

int removeControl(int windowNumber, int controlId, bool notify) {
  const int position = positionOfId(windowNumber, controlId);
  if (position < 1) return 0;
  WindowRecord* window = windowRecord(windowNumber);
  if (window->host) window->host->controlRemoved(position, controlId);
  Control* control = window->controls[position - 1].object;
  if (notify) deliverMessage(windowNumber, position, window->hwnd, kMsgDestroy, 0, 0, 1);
  // The destroy handler may have changed the list; find the control again.
  const int now = positionOfId(windowNumber, controlId);
  if (now < 1) return 1;
  window = windowRecord(windowNumber);
  const RectF former = window->controls[now - 1].rect;
  control = window->controls[now - 1].object;
  if (control) control->setIdentity(0, 0);
  window->controls.erase(window->controls.begin() + (now - 1));
  HostWindow::redrawRect(windowNumber, former, true);
  return 1;
}

}  // namespace zelvo::toolkit
