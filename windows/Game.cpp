#include "windows/Game.h"

#include "windows/frmCopy.h"

Game::Game(GameServices services) : services(services) {}

Game::~Game()
{
    delete splash_.data();
}

frmCopy &Game::start()
{
    return start(frmCopy::ShowTime);
}

frmCopy &Game::start(std::chrono::milliseconds splashTime)
{
    splash_ = new frmCopy(*this, splashTime);
    splash_->show();
    return *splash_;
}
