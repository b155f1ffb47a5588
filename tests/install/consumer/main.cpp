// The consumer's program: runs the checks, which live in a library of their
// own (see CMakeLists.txt), and ends with their status.

int orvaskConsumerCheck();

int main() {
    return orvaskConsumerCheck();
}
