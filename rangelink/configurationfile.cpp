#include "rangelink/configurationfile.h"

#include "decimal/decimalnumber.h"

#include <exception>
#include <fstream>
#include <iostream>

void ConfigurationFile::applyLine(const std::string& line)
{
    const std::string::size_type eq = line.find('=');
    if (eq == std::string::npos)
        return;
    // Nothing is trimmed: blanks around "=" stay part of the key or the value.
    const std::string key = line.substr(0, eq);
    const std::string value = line.substr(eq + 1);

    if (key == "ORVA.ORBdefaultInitRef")
        initRef_ = value;
    else if (key == "ORVA.executionName")
        executionName_ = value;
    else if (key == "ORVA.sessionName")
        sessionName_ = value;
    else if (key == "ORVA.ORBlistenEndpoints")
        listenEndpoints_ = value;
    else if (key == "ORVA.LTP_latitude")
        ltpLatitude_ = decimal::textToDouble(value);
    else if (key == "ORVA.LTP_longitude")
        ltpLongitude_ = decimal::textToDouble(value);
    else if (key == "ORVA.LTP_azimuth")
        ltpAzimuth_ = decimal::textToDouble(value);
    else if (key == "ORVA.LTP_XFalseOrigin")
        ltpXFalseOrigin_ = decimal::textToDouble(value);
    else if (key == "ORVA.LTP_YFalseOrigin")
        ltpYFalseOrigin_ = decimal::textToDouble(value);
    else if (key == "ORVA.LTP_HeightOffset")
        ltpHeightOffset_ = decimal::textToDouble(value);
}

void ConfigurationFile::read()
{
    std::ifstream in(fileName_);
    if (!in.is_open()) {
        std::cout << "No Configuration file (" << fileName_ << ") found." << std::endl;
        return;
    }
    readLines(in);
}

void ConfigurationFile::readLines(std::istream& in)
{
    try {
        // A failed read (a directory, an I/O error half-way) would otherwise end the loop as
        // quietly as the end of the file does.
        in.exceptions(std::ios::badbit);
        std::string line;
        // Lines of any length are read whole; a carriage return before the line end (a file
        // written on Windows) is not part of the line.
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.empty())
                continue;
            applyLine(line);
        }
    } catch (const std::exception& e) {
        std::cout << "Exception processing Configuration file (" << fileName_ << "): " << e.what() << std::endl;
    } catch (...) {
        std::cout << "Unknown exception processing Configuration file (" << fileName_ << ")." << std::endl;
    }
}
