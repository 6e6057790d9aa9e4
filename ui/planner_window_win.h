// The call planner's window: every stored place's hours beside the user's over a day here, the
// best hours, and a chosen or typed time converted for every place. One for all places: any copy
// opens it, and a second request brings the open one to the front.
#ifndef FARHOUR_UI_PLANNER_WINDOW_WIN_H
#define FARHOUR_UI_PLANNER_WINDOW_WIN_H

#include <windows.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "clock/call_planner.h"
#include "clock/profile_store.h"
#include "clock/system_zone_clock_win.h"
#include "ui/dialog_window_win.h"
#include "ui/planner_text.h"

class PlannerWindow : public DialogWindow {
 public:
  // mark names the property that marks the open window, by which any copy finds it.
  PlannerWindow(HINSTANCE instance, ProfileStore& store, std::string mark);
  ~PlannerWindow() override;

  // Makes the window, or brings it to the front when this copy has it open. False when it could
  // not be made.
  bool Open();

 protected:
  BOOL OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  // Where the grid's parts lie in its client area.
  struct GridLayout {
    int rowHeight = 16;
    int nameWidth = 80;
    int width = 0;
    int visibleRows = 1;  // place rows shown at once, the count row aside
    int ColumnLeft(int column, int columns) const;
  };

  static LRESULT CALLBACK GridProc(HWND grid, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnGridMessage(HWND grid, UINT message, WPARAM wParam, LPARAM lParam);
  GridLayout Layout(HDC dc) const;
  void PaintGrid(HDC dc, const RECT& client);
  void OnGridKey(UINT key);
  void OnGridClick(int x, int y);
  void Select(int row, int column);

  void Close();
  void ReadTexts();
  // The stored places read again; false when nothing the planner shows has changed.
  bool ReloadPlaces(bool force);
  void Rebuild();
  void ShowBestHours();
  // The converter's lines for the typed time, or else for the chosen cell.
  void ShowConverter();
  void ShowDay();
  void OnTimer();
  void OnHereHoursChanged();
  void CopyLines();

  ProfileStore& store_;
  std::string mark_;
  HWND grid_ = nullptr;
  HFONT font_ = nullptr;  // the dialog's, which the dialog owns
  PlannerTexts texts_;
  std::string am_, pm_;      // the locale's designators, which a typed time may end with
  std::string atWorkRow_;    // the count row's label
  HereHours here_;
  int weekOrder_[7] = {1, 2, 3, 4, 5, 6, 0};
  std::vector<NumberedPlace> stored_;
  std::vector<std::unique_ptr<SystemZoneClock>> zoneClocks_;
  std::vector<PlannerPlace> places_;  // here, then every stored place
  std::vector<int> numbers_;          // each row's instance number; -1 for here
  std::vector<int> unticked_;         // places the best hours do not wait for
  CalendarDay day_;
  PlannerGrid gridData_;
  int selectedRow_ = 0;
  int selectedColumn_ = -1;  // until the grid is first built: the column of now
  int topRow_ = 0;  // the first place row shown
  long long shownMinute_ = -1;
  std::vector<std::string> lines_;  // what Copy puts on the clipboard
};

#endif
