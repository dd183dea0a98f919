#pragma once

#include <QVector>
#include <QtConcurrent>

#include <functional>

// Ordered parallel map on the global thread pool: result i belongs to input i. Blocks until done.
// (QtConcurrent of Qt 5 cannot deduce a lambda's result type, so it gets a std::function.)
template<typename Result, typename Sequence, typename Function>
QVector<Result> orderedMap(const Sequence &input, Function function)
{
    using Input = typename Sequence::value_type;
    return QtConcurrent::blockingMapped<QVector<Result>>(
        input, std::function<Result(const Input &)>(std::move(function)));
}
