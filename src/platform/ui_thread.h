// Hands work from worker threads to the UI thread. Workers never touch
// windows or AppState themselves: they post a task, and the UI thread runs it
// in the order posted, between window messages.
#pragma once

#include <functional>

namespace zelvo::platform {

using UiTask = std::function<void()>;

// Called once on the UI thread before any worker starts.
bool startUiTaskQueue();
// Runs the queue's tasks no more; later posts are dropped.
void stopUiTaskQueue();

// Any thread. Returns false (and drops the task) when the queue is not
// running or the post failed.
bool postToUiThread(UiTask task);

}  // namespace zelvo::platform
