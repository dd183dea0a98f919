#pragma once

// Records every modal dialog that opens while a model, selection or filter signal is being
// emitted on the GUI thread: the dialog's event loop runs the program on while the model is
// half-way through its change.

#include <QtWidgets>

#include <utility>

// QtCore's hook for signal emissions (QtTest's -vs uses it), exported by QtCore; the layout is
// that of Qt 5.15's private qobject_p.h.
struct QSignalSpyCallbackSet
{
    using BeginCallback = void (*)(QObject *caller, int signalIndex, void **argv);
    using EndCallback = void (*)(QObject *caller, int signalIndex);
    BeginCallback signal_begin_callback, slot_begin_callback;
    EndCallback signal_end_callback, slot_end_callback;
};
Q_CORE_EXPORT void qt_register_signal_spy_callbacks(QSignalSpyCallbackSet *callback_set);

class ModalInSignalGuard : public QObject
{
public:
    ModalInSignalGuard()
    {
        guard = this;
        static QSignalSpyCallbackSet callbacks = {&begin, nullptr, &end, nullptr};
        qt_register_signal_spy_callbacks(&callbacks);
        qApp->installEventFilter(this);
    }
    ~ModalInSignalGuard() override
    {
        qt_register_signal_spy_callbacks(nullptr);
        guard = nullptr;
    }

    // One line per modal dialog opened inside such a signal; taking them clears the list.
    QStringList takeViolations() { return std::exchange(m_violations, {}); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() != QEvent::Show || !widget || !widget->isWindow() || !widget->isModal())
            return false;
        for (const Emission &emission : qAsConst(m_emissions)) {
            if (emission.guarded) {
                m_violations << QStringLiteral("%1 \"%2\" opened inside %3::%4")
                                    .arg(QLatin1String(widget->metaObject()->className()),
                                         widget->windowTitle(),
                                         QLatin1String(emission.guarded->metaObject()->className()),
                                         emission.signal);
                break;
            }
        }
        return false;
    }

private:
    struct Emission
    {
        QObject *sender;
        QPointer<QObject> guarded; // null for other senders, and once deleted
        QString signal;
    };

    static inline ModalInSignalGuard *guard = nullptr;

    // Signal indexes count the signals of the class and its bases, bases first.
    static QString signalName(const QObject *sender, int signalIndex)
    {
        const QMetaObject *meta = sender->metaObject();
        for (int method = 0, signal = 0; method < meta->methodCount(); ++method) {
            if (meta->method(method).methodType() == QMetaMethod::Signal && signal++ == signalIndex)
                return QString::fromLatin1(meta->method(method).name());
        }
        return QString();
    }

    static void begin(QObject *sender, int signalIndex, void **)
    {
        if (!guard || QThread::currentThread() != qApp->thread())
            return;
        const bool model = qobject_cast<QAbstractItemModel *>(sender)
                           || qobject_cast<QItemSelectionModel *>(sender);
        const bool edit = !model && qobject_cast<QLineEdit *>(sender);
        const QString name = model || edit ? signalName(sender, signalIndex) : QString();
        const bool guarded
            = model
              || (edit
                  && (name == QLatin1String("textChanged") || name == QLatin1String("textEdited")));
        guard->m_emissions.append({sender, guarded ? sender : nullptr, name});
    }

    // No end comes for a sender deleted by its own signal: entries above the matching one are
    // such leftovers.
    static void end(QObject *sender, int)
    {
        if (!guard || QThread::currentThread() != qApp->thread())
            return;
        for (int i = guard->m_emissions.size() - 1; i >= 0; --i) {
            if (guard->m_emissions.at(i).sender == sender) {
                guard->m_emissions.resize(i);
                return;
            }
        }
    }

    QVector<Emission> m_emissions;
    QStringList m_violations;
};
