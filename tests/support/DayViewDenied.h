#pragma once
// While it lives, every SQLite connection opened in this process is refused
// the reading of FECHA_OP, so the day view's refresh fails while the changes
// that do not read that column succeed.
namespace arc::test {

class DayViewDenied {
public:
    DayViewDenied();
    ~DayViewDenied();
    DayViewDenied(const DayViewDenied&) = delete;
    DayViewDenied& operator=(const DayViewDenied&) = delete;
};

}  // namespace arc::test
