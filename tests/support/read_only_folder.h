#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QFile>
#include <QString>

namespace crinova::test {

// A folder made read-only while this lives, for root too: root writes into a
// folder whatever its mode, unless CAP_DAC_OVERRIDE is left out of its
// effective capabilities, as it is meanwhile. Only the effective set changes;
// the permitted set and the process's other attributes stay. Capabilities are a thread's own:
// the folder is read-only to this thread and to the threads it starts meanwhile.
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(const QString& path) : path_(path), mode_(QFile::permissions(path)) {
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::ExeOwner);
        if (syscall(SYS_capget, &header_, saved_) != 0) {
            return;
        }
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[CAP_TO_INDEX(CAP_DAC_OVERRIDE)].effective &= ~CAP_TO_MASK(CAP_DAC_OVERRIDE);
        lowered_ = syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~ReadOnlyFolder() {
        if (lowered_) {
            syscall(SYS_capset, &header_, saved_);
        }
        QFile::setPermissions(path_, mode_);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  private:
    QString path_;
    QFile::Permissions mode_;
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2] = {};
    bool lowered_ = false;
};

}  // namespace crinova::test
