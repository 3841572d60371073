#pragma once
// "config.txt": key=value lines naming the middleware's init reference, the execution and
// session to join, and the local tangent plane frame in which the UUT is tracked. Read at every
// Join; messages go to standard output, one flushed line each.

#include <iosfwd>
#include <string>

class ConfigurationFile {
public:
    ConfigurationFile() = default;

    void setFileName(const std::string& fileName) { fileName_ = fileName; }

    // Reads the file. Never lets a failure out: a missing file or a failure while reading is
    // reported on standard output and the values read so far are kept.
    void read();

    std::string getInitRef() const { return initRef_; }
    std::string getExecutionName() const { return executionName_; }
    std::string getSessionName() const { return sessionName_; }
    std::string getListenEndpoints() const { return listenEndpoints_; }
    // The frame's parameters, handed to it unchanged (degrees, metres as the frame takes them).
    double getLtpLatitude() const { return ltpLatitude_; }
    double getLtpLongitude() const { return ltpLongitude_; }
    double getLtpAzimuth() const { return ltpAzimuth_; }
    double getLtpXFalseOrigin() const { return ltpXFalseOrigin_; }
    double getLtpYFalseOrigin() const { return ltpYFalseOrigin_; }
    double getLtpHeightOffset() const { return ltpHeightOffset_; }

    // One line of the file, without its line end: sets the field its key names, if any.
    // Lines without "=" are ignored.
    void applyLine(const std::string& line);

    // The lines of an open stream, as read() takes them from the file; a failure of the stream
    // is reported on standard output and ends the reading.
    void readLines(std::istream& in);

private:
    std::string fileName_;
    std::string initRef_;
    std::string executionName_;
    std::string sessionName_;
    std::string listenEndpoints_;
    double ltpLatitude_ = 0.0;
    double ltpLongitude_ = 0.0;
    double ltpAzimuth_ = 0.0;
    double ltpXFalseOrigin_ = 0.0;
    double ltpYFalseOrigin_ = 0.0;
    double ltpHeightOffset_ = 0.0;
};
