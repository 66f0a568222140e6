#include "support/fake_scanner.h"

#include <QtGlobal>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace testing {

FakeScanner::FakeScanner() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        qFatal("no pseudo-terminal");
    portName_ = QString::fromLocal8Bit(ptsname(master_));
}

FakeScanner::~FakeScanner() {
    ::close(master_);
}

void FakeScanner::send(const QByteArray& bytes) {
    if (::write(master_, bytes.constData(), bytes.size()) != bytes.size())
        qFatal("write to the pseudo-terminal failed");
}

} // namespace testing
