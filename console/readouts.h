#pragma once
// Texts of the dialog's readouts. The status formats are used exactly as the range operators
// know them: each value printed by "%f" (six decimals, no width) directly followed by the
// characters 8.2. Positions in the local frame's units, angles in radians, unconverted.

#include <QString>

namespace console {

QString uutPositionText(double x, double y, double z);   // status pane 0
QString sightEulersText(double psi, double theta, double phi);  // status pane 1
QString tiltText(int degrees);                            // control 1009, "%3d Deg"

}  // namespace console
