#pragma once

class D
{};
