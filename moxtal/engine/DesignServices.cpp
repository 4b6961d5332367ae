#include "DesignServices.h"

#include <iostream>

#include "moxtal/engine/ConsoleDesignServices.h"

namespace mx {

namespace {

IMxDesignServices* installed = nullptr;

}  // namespace

IMxDesignServices& MxDesignServices() {
  if (installed) return *installed;
  static engine::TConsoleDesignServices console(false, std::cin, std::cerr);
  return console;
}

namespace engine {

IMxDesignServices* SetDesignServices(IMxDesignServices* services) {
  IMxDesignServices* before = installed;
  installed = services;
  return before;
}

}  // namespace engine

}  // namespace mx
