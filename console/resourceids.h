#pragma once
// Identifiers of the dialog templates, controls and resources. Kept as the numbers the range
// documentation and the operators' procedures refer to; widgets are found by them (GetDlgItem).

namespace resid {

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_VKRSIM_DIALOG = 102;
inline constexpr int ID_INDICATOR_UUT = 108;
inline constexpr int ID_INDICATOR_EULERS = 109;

inline constexpr int IDOK = 1;
inline constexpr int IDC_START = 1000;
inline constexpr int IDC_JOIN = 1001;
inline constexpr int IDC_RESIGN = 1002;
inline constexpr int IDC_PAN = 1007;
inline constexpr int IDC_TILT = 1008;
inline constexpr int IDC_TILT_TEXT = 1009;

inline constexpr unsigned IDM_ABOUTBOX = 0x0010;   // system-menu command of the About item
inline constexpr unsigned SC_CLOSE = 0xF060;       // system-menu command of Close
inline constexpr int AFX_IDW_STATUS_BAR = 0xE801;

}  // namespace resid

// Trackbar notification codes carried by scroll notifications (low 16 bits).
namespace tb {

inline constexpr int LINEUP = 0;
inline constexpr int LINEDOWN = 1;
inline constexpr int PAGEUP = 2;
inline constexpr int PAGEDOWN = 3;
inline constexpr int THUMBPOSITION = 4;
inline constexpr int THUMBTRACK = 5;
inline constexpr int TOP = 6;
inline constexpr int BOTTOM = 7;
inline constexpr int ENDTRACK = 8;

}  // namespace tb
