// Placeholder until the page renderer is built.
namespace gzgl::print {}
