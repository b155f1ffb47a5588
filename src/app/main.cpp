// AVL Tree Demo: type digits and letters to grow a self-balancing tree and
// watch its rotations.
#include "app/demo.h"

int main() {
    return avl::runDemo();
}
