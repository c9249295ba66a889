#include "app/engine_loop.h"

int main() {
  RunProgram();
  return 0;
}
