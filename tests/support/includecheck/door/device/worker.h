#pragma once

class Worker;
