#pragma once

class P
{};
