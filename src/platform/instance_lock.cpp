#include "platform/instance_lock.h"

void InstanceLock::Release() {
  runtime_.Close();
  system_.Close();
}
