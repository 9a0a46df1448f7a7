#pragma once

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <unistd.h>

namespace vexo::test {

// While it lives, this thread checks file permissions as an ordinary user would: a test run by the
// superuser sets the superuser's file rights aside through the filesystem user id, so a permission
// test fails as it would for a user. Nothing changes for other threads; an ordinary user's run is
// left as it is. Files the test touches meanwhile need permissions for others.
class OrdinaryFileRights
{
public:
    OrdinaryFileRights()
    {
        if (::geteuid() != 0)
            return;
        m_previous = ::setfsuid(kNobody);
        EXPECT_EQ(::setfsuid(kNobody), int(kNobody)) << "the file rights did not change";
    }
    ~OrdinaryFileRights()
    {
        if (m_previous >= 0)
            ::setfsuid(uid_t(m_previous));
    }
    OrdinaryFileRights(const OrdinaryFileRights &) = delete;
    OrdinaryFileRights &operator=(const OrdinaryFileRights &) = delete;

private:
    static constexpr uid_t kNobody = 65534;
    int m_previous = -1;
};

} // namespace vexo::test
