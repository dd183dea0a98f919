#pragma once

#include <QVector>
#include <QtConcurrent>

#include <algorithm>
#include <functional>

// Runs `wait`, which blocks on work of the global thread pool. Called from a task of that pool,
// the task lends its place meanwhile: two tasks that each wait for work of their own would
// otherwise hold every thread of a small pool and wait for ever.
template<typename Wait>
auto waitingOnPool(Wait wait)
{
    struct Lend
    {
        bool onPool = QThread::currentThread() != QCoreApplication::instance()->thread();
        Lend()
        {
            if (onPool)
                QThreadPool::globalInstance()->releaseThread();
        }
        ~Lend()
        {
            if (onPool)
                QThreadPool::globalInstance()->reserveThread();
        }
    } lend;
    return wait();
}

// Ordered parallel map on the global thread pool: result i belongs to input i. Blocks until done.
// (QtConcurrent of Qt 5 cannot deduce a lambda's result type, so it gets a std::function.)
template<typename Result, typename Sequence, typename Function>
QVector<Result> orderedMap(const Sequence &input, Function function)
{
    using Input = typename Sequence::value_type;
    return waitingOnPool([&] {
        return QtConcurrent::blockingMapped<QVector<Result>>(
            input, std::function<Result(const Input &)>(std::move(function)));
    });
}

// Calls function(begin, end) for consecutive slices of 0..count - 1 on the global thread pool and
// blocks until all are done; one slice runs on the calling thread's share of the pool. For loops
// whose items are too small to be tasks of their own.
template<typename Function>
void forSlices(int count, int sliceSize, Function function)
{
    QVector<int> starts;
    for (int start = 0; start < count; start += sliceSize)
        starts.append(start);
    if (starts.size() <= 1) {
        function(0, count);
        return;
    }
    waitingOnPool([&] {
        QtConcurrent::blockingMap(
            starts, [&](int start) { function(start, std::min(start + sliceSize, count)); });
    });
}
