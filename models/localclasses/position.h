#pragma once
// A position: metres, in the frame that produced it (geocentric WGS-84 inside a TSPI).

#include "middleware/smartptr.h"
#include "models/localclasses/export.h"

namespace ORVA::Position {

class ORVA_LOCALCLASSES_EXPORT Interface {
public:
    virtual ~Interface();
    virtual double get_x() const = 0;
    virtual double get_y() const = 0;
    virtual double get_z() const = 0;

    static Middleware::SmartPtr<Interface> create(double x, double y, double z);
};

}  // namespace ORVA::Position
