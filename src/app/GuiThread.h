// The ways other threads reach the user interface: run a piece of work on the
// thread that owns a QObject and wait until it is done, or leave it there to
// run when that thread's event loop comes to it.
// Thread rule: callable from any thread; the work itself runs on context's thread.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <utility>

// Runs `work` on the thread of `context` and returns when it has run; runs it
// at once when the caller is already on that thread. The owning thread must be
// running an event loop (a modal dialog's loop counts); it never waits for the caller.
template <typename Work>
void runOnGuiThread(QObject* context, Work&& work) {
  if (QThread::currentThread() == context->thread()) {
    work();
    return;
  }
  QMetaObject::invokeMethod(context, std::forward<Work>(work), Qt::BlockingQueuedConnection);
}

// Queues `work` for the thread of `context` and returns at once; the work is
// dropped if `context` is destroyed before that thread's event loop runs it.
template <typename Work>
void postToGuiThread(QObject* context, Work&& work) {
  QMetaObject::invokeMethod(context, std::forward<Work>(work), Qt::QueuedConnection);
}
