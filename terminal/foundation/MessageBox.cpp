#include "MessageBox.h"

#include <QMutex>
#include <QQueue>

namespace MessageBox {
namespace {

struct State {
    QMutex mutex;
    Backend* backend = nullptr;
    QQueue<Answer> answers;
    QStringList shown;
};

State& state() {
    static State s;
    return s;
}

} // namespace

void setBackend(Backend* backend) {
    QMutexLocker lock(&state().mutex);
    state().backend = backend;
}

void ShowMessage(const QString& text) {
    Backend* backend;
    {
        QMutexLocker lock(&state().mutex);
        state().shown.append(text);
        backend = state().backend;
    }
    if (backend) backend->showMessage(text);
}

bool Confirm(const QString& text) {
    Backend* backend;
    Answer answer = Ok;
    {
        QMutexLocker lock(&state().mutex);
        state().shown.append(text);
        if (!state().answers.isEmpty()) {
            answer = state().answers.dequeue();
            backend = nullptr;
        } else {
            backend = state().backend;
        }
    }
    if (backend) answer = backend->confirm(text);
    return answer == Ok;
}

void setNextAnswer(Answer answer) {
    QMutexLocker lock(&state().mutex);
    state().answers.enqueue(answer);
}

QStringList shown() {
    QMutexLocker lock(&state().mutex);
    return state().shown;
}

void clearShown() {
    QMutexLocker lock(&state().mutex);
    state().shown.clear();
    state().answers.clear();
}

} // namespace MessageBox
