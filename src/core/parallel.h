#pragma once

#include <QVector>
#include <QtConcurrent>

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
