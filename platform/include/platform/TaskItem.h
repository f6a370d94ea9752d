#pragma once

// A unit of work for QelTaskPool: a worker calls RunLoop() once.
class TaskItem {
public:
    virtual ~TaskItem() = default;
    virtual int RunLoop() = 0;

protected:
    TaskItem() = default;
    TaskItem(const TaskItem&) = default;
    TaskItem& operator=(const TaskItem&) = default;
};
