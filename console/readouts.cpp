#include "console/readouts.h"

namespace console {

QString uutPositionText(double x, double y, double z)
{
    return QString::asprintf("UUT Pos %f8.2,%f8.2,%f8.2", x, y, z);
}

QString sightEulersText(double psi, double theta, double phi)
{
    return QString::asprintf("Eulers %f8.2,%f8.2,%f8.2", psi, theta, phi);
}

QString tiltText(int degrees)
{
    return QString::asprintf("%3d Deg", degrees);
}

}  // namespace console
