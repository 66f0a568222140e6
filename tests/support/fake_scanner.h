#pragma once

#include <QByteArray>
#include <QString>

namespace testing {

// A pseudo-terminal pair standing in for a barcode scanner on a serial port: the program opens
// the slave as its port, the test plays the scanner by writing to the master.
class FakeScanner {
public:
    FakeScanner();
    ~FakeScanner();
    FakeScanner(const FakeScanner&) = delete;
    FakeScanner& operator=(const FakeScanner&) = delete;

    QString portName() const { return portName_; }
    void send(const QByteArray& bytes);

private:
    int master_ = -1;
    QString portName_;
};

} // namespace testing
